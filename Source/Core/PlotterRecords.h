// The plotter library records: a plotter owns its environments, an environment
// owns its pens. Plain fixed-size records; arrays are heap blocks with a count.
#pragma once

#include <stdint.h>

struct Pen {
    char PenName[64];
    double Pressure;  // g
    double Velocity;  // cm/s
    double Extra;     // knife offset, mm
    int32_t PenReserved;  // bits 4-7: acceleration level 0..4; other bits carried unchanged
    double maxExtra;
    double minExtra;
    double stepExtra;
    double defaultExtra;
    double maxVelocity;
    double minVelocity;
    double stepVelocity;
    double defaultVelocity;
    double maxPressure;
    double minPressure;
    double stepPressure;
    double defaultPressure;
};

struct Environment {
    char EnvironmentName[64];
    int32_t PenNumber;
    Pen* Pens;
    int32_t EnvironmentReserved;  // bit 0: chosen as current in the setup dialog
};

struct Plotter {
    char PlotterName[64];
    char PlotterManufactory[64];
    int32_t Language;       // 0 "HPGL", 1 "GPGL", 2 "MGL_IC1", 3 "DMGL"
    double PlotterSizeX;    // mm
    double PlotterSizeY;    // mm
    int32_t PlotterOrigin;  // 0 "Center", 1 "Left-Bottom", 2 "Left-Top"
    double PlotterStep;     // mm per plotter unit
    Environment* Environments;
    uint8_t IsSpecialMachine;
    char PlotterIniString[255];
    char PlotterEndString[255];
    int32_t PlotterEnvNumber;
    int32_t PlotterReserved;  // capability bits
    int32_t PlotterPID;
    int32_t PlotterVID;
};

// Capability bits of PlotterReserved.
enum {
    kPlotterCurrentBit = 0x01,
    kPlotterLockedBit = 0x02,
    kPlotterCutOffBit = 0x10,
    kPlotterDevicePanelBit = 0x20,
    kPlotterAccelerationMask = 0xC0
};

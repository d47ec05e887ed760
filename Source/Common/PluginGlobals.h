// The globals record: one host memory block per plug-in instance, reached
// through g from start-up to shutdown. Each subsystem keeps its own fields in
// its own section below.
#pragma once

#include <stdint.h>

#include "AllSuites.h"
#include "USBHost.h"
#include "Core/CutModelRecords.h"
#include "Core/PlotterRecords.h"

// A point within a list as tall as all its entries.
struct ListPoint {
    int32_t h;
    int32_t v;
};

// The look of the Plot Out preview: fourteen 32-bit words (colours
// 0xRRGGBBFF, marker shapes and sizes) and the fill flag in the fifteenth slot.
struct PreviewOption {
    uint32_t words[14];
    uint8_t fill;
    uint8_t unused[3];
};

// The words of PreviewOption. Words 11 and 12 are edited in the Preview
// Options dialog and kept, but the preview draws its selection and labels in
// fixed colours; word 13 is carried along untouched.
enum {
    kPreviewBackgroundWord = 0,
    kPreviewPageWord = 1,
    kPreviewBoardWord = 2,
    kPreviewLineWord = 3,  // fitted straight lines
    kPreviewArcWord = 4,   // fitted arcs
    kPreviewControlColorWord = 5,
    kPreviewControlShapeWord = 6,
    kPreviewControlSizeWord = 7,  // half-size, pixels
    kPreviewStartColorWord = 8,
    kPreviewStartShapeWord = 9,
    kPreviewStartSizeWord = 10,
    kPreviewSelectionColorWord = 11,
    kPreviewLabelColorWord = 12,
    kPreviewOptionWordCount = 14
};

// Marker shapes of words 6 and 9.
enum { kMarkerCircle = 0, kMarkerDisc = 1, kMarkerSquare = 2, kMarkerFilledSquare = 3, kMarkerPlus = 4 };

// The Plot Out preview's base point, frame pixels. The longest media (100 m)
// at the highest zoom (10 pixels to the millimetre) lies a million pixels
// away: far beyond 16 bits, well within these.
struct PreviewOrigin {
    int32_t h;
    int32_t v;
};

struct PluginGlobals {
    // ---- Shell: entry point, language, menus, tools, palettes -------------
    SPBasicSuite* basic;
    SPPluginRef pluginRef;
    AINotifierHandle startNotifier;
    int32_t stringListId;
    int32_t listMenuIdBase;
    AIMenuItemHandle menuPlotterSetup;
    AIMenuItemHandle menuPlotOut;
    AIMenuItemHandle menuPreProcess;
    AIMenuItemHandle menuVLCD;
    AIMenuItemHandle menuAbout;
    AIToolHandle toolSplit;
    AIToolHandle toolStartPoint;
    AIToolHandle toolCheckGroup;
    ADMIconRef toolIcons[3];  // the tools' toolbox icons; the host keeps only their ids
    ADMDialogRef preProcessPanel;  // the command palette (toolkit dialog), null when absent
    ADMDialogRef splitPanel;       // the split palette, null when absent
    SPAccessRef panelAccess;
    AIRealRect splitToolBounds;
    AIRealPoint toolDragStart;
    AIRealPoint toolDragCurrent;
    AIRealPoint toolDragEnd;
    float savedViewZoom;
    float savedViewCenter[2];
    int32_t toolMode;

    // ---- Cut settings (kept in the preferences under "Vantorel") ---------
    uint8_t backToHome;
    uint8_t usePlotterSetting;
    uint8_t overCut;
    double overCutStart;  // mm
    double overCutEnd;    // mm
    uint8_t cutOff;
    double cutOffDistance;  // mm
    int32_t markLength;     // thousandths of a mm
    int32_t markThickness;
    int32_t markMargin;
    int32_t markXStep;
    int32_t markYStep;
    int32_t markXCopies;
    int32_t markYCopies;
    int32_t markSpace;
    uint8_t mark4PointPosition;
    uint8_t markSegmentalPosition;
    uint8_t markMultipleCopies;
    uint8_t markCopiesWithOutline;
    int32_t dotCutHalfCutLength;  // hundredths of a mm
    int32_t dotCutHalfCutPen;
    int32_t dotCutThroughLength;  // hundredths of a mm
    int32_t dotCutThroughPen;

    // ---- Current plotter (loaded from the preferences under "Korvel-Ulmaren")
    Plotter curPlotter;
    Environment curEnvironment;
    uint8_t curPlotterValid;

    // ---- Plotter setup dialog: double clicks in its three lists ----------
    uint8_t machineListDblClick;
    uint8_t envListDblClick;
    uint8_t penListDblClick;
    // Points within the whole list, which a 16-bit point cannot reach past
    // about 1,600 entries: wide.
    ListPoint machineListLastClickPt;
    ListPoint envListLastClickPt;
    ListPoint penListLastClickPt;
    uint32_t machineListLastClickTime;
    uint32_t envListLastClickTime;
    uint32_t penListLastClickTime;

    // ---- USB link to the cutter -------------------------------------------
    int32_t usbOutput;  // 1 while a stream goes to the cutter
    VTUSBSessionRef usbMasterPort;  // the connection to the bus made by USB_Open
    VTUSBDeviceRef usbService;      // the matched device, while it is being opened
    VTUSBOpenDeviceRef usbDevice;   // the opened device
    VTUSBInterfaceRef usbInterface; // the opened interface whose pipes are used
    uint8_t usbPipeIn;              // pipe reference of the first bulk IN pipe; 0 = none
    uint8_t usbPipeOut;             // pipe reference of the first bulk OUT pipe; 0 = none
    uint16_t usbPipeInMaxPacket;    // packet size of usbPipeIn, to size reads
    char usbReadBuffer[1024];       // replies that arrive outside USB_Read

    // ---- Cut model ---------------------------------------------------------
    Volume* volumes;
    int32_t volumeCount;
    float volumesBounds[4];
    UndoStep undoSteps[kUndoStepCount];
    int32_t undoPos;
    uint8_t undoNewStep;
    double totalCutLength;  // mm

    // ---- Plot Out dialog and preview ---------------------------------------
    float mediaWidth;   // mm
    float mediaLength;  // mm
    double arcAngleUnit;
    AITimerHandle plotTimer;
    double previewZoomX;
    double previewZoomY;
    PreviewOrigin previewOrigin;
    uint8_t viewShowIndex;
    uint8_t viewShowControlPoints;
    uint8_t viewShowStartPoint;
    uint8_t viewShowArcCenter;
    PreviewOption previewOption;
    // The nine handles of the selection outline as the preview last drew
    // them, frame pixels; all zero when nothing is selected. The preview's
    // pointer tools pick a handle from these.
    ADMRect selectionHotRects[9];
    // Curve fitting kept from the last exit of the dialog for every volume
    // loaded next: precision in mm and type (1 lines, 2 arcs).
    double Precious;
    int32_t FitType;
    double autoGroupGapX;  // mm
    double autoGroupGapY;  // mm
    uint8_t layerListDblClick;
    uint8_t colorListDblClick;
    ASPoint layerListLastClickPt;
    ASPoint colorListLastClickPt;
    uint32_t layerListLastClickTime;
    uint32_t colorListLastClickTime;

    // ---- Device panel --------------------------------------------------------
    ADMDialogRef vlcdDialog;  // the open device panel, null otherwise

    // ---- Document preparation -----------------------------------------------
    float offsetSize;  // mm
    double ripMarginX;
    double ripMarginY;
    int32_t ripVLines;
    int32_t ripHLines;
    double splitMarkWidth;
    double splitMarkHeight;
    int32_t splitMarkStyle;
    double splitOverlapX;
    double splitOverlapY;
    int32_t splitSortMethod;
};

extern PluginGlobals* g;

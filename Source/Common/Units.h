// Lengths. The cut model and the plotter library hold millimetres; the host's
// documents and the toolkit's numeric items hold points (1/72 inch). These are
// the only factors between the two, so that a value shown, stored and cut is
// the same value everywhere.
#pragma once

// One millimetre in points.
const double kMillimetreToPoint = 2.8346458;
// One point in millimetres, and the same factor in single precision for the
// volumes' float rectangles.
const double kPointToMillimetre = 0.3527777615108032;
const float kPointToMillimetreFloat = 0.35277775f;

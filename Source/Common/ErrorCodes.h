// The plug-in's own error codes, one name each. An error code is a 32-bit
// value: 0 for success, a host error passed through unchanged (Host/SDK), or
// one of the four-character codes below, which the host shows as their
// characters ("!Mem"). A new code gets its name here, never a second name
// and never a raw '....' constant at the place it is returned.
#pragma once

#include "ASTypes.h"

// Marks a function whose result is an error code: the compiler warns when a
// caller drops it. A result that is rightly ignored is cast to (void) with a
// comment saying why.
#define VT_NODISCARD [[nodiscard]]

// Memory ran out.
const ASErr kMemoryErr = '!Mem';

// An index names no element of its list (the plotter library's delete
// operations): nothing was changed.
const ASErr kIndexOutOfRangeErr = '!Idx';

// The selection: nothing is selected, or a selected object is neither a
// group, a path nor a compound path.
const ASErr kNothingSelectedErr = '!Sel';
const ASErr kUnsupportedArtErr = '!tpe';

// The preferences hold no complete current plotter.
const ASErr kNoCurrentPlotterErr = '!cur';

// Files: no file stream, or the file cannot be opened; a damaged file
// (missing lines, bad counts, unclosed text); a text the plotter library
// format cannot hold; a write the stream refused (disk full, closed pipe ...).
const ASErr kNoFileErr = '!FOP';
const ASErr kFormatErr = '!Fmt';
const ASErr kUnwritableTextErr = '!Txt';
const ASErr kWriteErr = '!Wrt';

// A plotter whose language is not 0 to 3, or whose step or media size is not
// a finite length above 0, in the plotter library or the preferences: no job
// can be made for it.
const ASErr kPlotterValueErr = '!Val';

// The Plot Out dialog's history holds nothing to undo, or nothing to redo.
const ASErr kUndoStackErr = '!STK';

// The split guides: there is no guide group, a child of the guide group is
// not a guide path, or a guide path has not exactly two anchors. Never shown:
// the document is left as it was.
const ASErr kNoGuideGroupErr = '!SPT';
const ASErr kNotAGuideErr = '!GUD';
const ASErr kGuideNotALineErr = '!LNE';

// A settings dialog that asks before it acts (the offset distance, the
// weeding lines) was closed other than by OK: nothing is made.
const ASErr kSettingsNotConfirmedErr = '!rOk';

// The tools: a tool's icon could not be loaded (start-up stops); the start
// point of an open path cannot be moved; the start-point markers' layer is
// missing.
const ASErr kIconLoadErr = '!ico';
const ASErr kPathNotClosedErr = '!CLS';
const ASErr kNoInformationLayerErr = '!LIF';

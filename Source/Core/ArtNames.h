// The names the plug-in gives to layers and tags in the user's document. They
// are saved with the document and read back by later sessions (and by the
// cutter's own tools), so each is written here once and never changes.
#pragma once

// The layer of the registration marks: printed with the artwork for the
// cutter's sensor, never cut.
#define kMarksLayerTitle "Layer of 4 Marks Printed"
// The layer of the start-point tool's markers: shown while the tool is in
// hand, never part of a job.
#define kInformationLayerTitle "Information Layer"

// On a dot-cut group, its two pens ("%d%d"); on each of its pieces, the pen
// that cuts the piece ("%d").
#define kTagDotCut "TAG_OF_DOT_CUT"
// On the marks group: the cutter's alignment command text, sent before every job.
#define kTagAASSetting "TAG_AAS_SETTING"

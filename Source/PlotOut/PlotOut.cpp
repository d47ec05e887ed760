// The command writer. See PlotOut.h for the sink rules.
#include "PlotOut/PlotOut.h"

#include <limits.h>
#include <locale.h>
#include <math.h>
#include <stdarg.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Core/ColorLayer.h"
#include "Core/CutModel.h"
#include "PlotOut/CommandText.h"
#include "Core/CutPath.h"
#include "Core/VolumePlacement.h"
#include "PlotOut/USB.h"

namespace {

// End point, in plotter steps, of the last dot-cut piece written; -9999 in
// both means none. A piece that starts exactly there continues the cut
// without lifting the knife.
long _x = -9999;
long _y = -9999;

const char kETX = 3;

// Numbers go to the cutter with a decimal point whatever the user's locale.
locale_t cLocale()
{
    static locale_t locale = newlocale(LC_ALL_MASK, "C", (locale_t)0);
    return locale;
}

bool sinkOpen(FILE* file)
{
    return file != NULL || (g != NULL && g->usbOutput != 0);
}

// Writes one whole command text to the sink.
VT_NODISCARD ASErr sendText(FILE* file, const char* text, size_t length)
{
    if (file != NULL) {
        if (length > 0 && fwrite(text, 1, length, file) != length)
            return kWriteErr;
        return kNoErr;
    }
    if (g != NULL && g->usbOutput != 0) {
        // A command is one transfer; nothing the writer formats comes near 2 GB,
        // but a longer text is sent in pieces rather than cut short.
        do {
            int piece = (int)std::min(length, (size_t)INT_MAX);
            ASErr error = USBSendData(g->usbOutput, (char*)text, piece);
            if (error != kNoErr)
                return error;
            text += piece;
            length -= piece;
        } while (length > 0);
    }
    return kNoErr;
}

// printf into one text (on the heap when it does not fit the stack buffer),
// in the C locale, then to the sink.
VT_NODISCARD ASErr emitf(FILE* file, const char* format, ...)
{
    if (!sinkOpen(file))
        return kNoErr;
    char local[512];
    locale_t previous = uselocale(cLocale());
    va_list args;
    va_start(args, format);
    int length = vsnprintf(local, sizeof local, format, args);
    va_end(args);
    ASErr error = kNoErr;
    if (length < 0) {
        error = kWriteErr;
    } else if ((size_t)length < sizeof local) {
        error = sendText(file, local, (size_t)length);
    } else {
        char* text = (char*)malloc((size_t)length + 1);
        if (text == NULL) {
            error = kMemoryErr;
        } else {
            va_start(args, format);
            vsnprintf(text, (size_t)length + 1, format, args);
            va_end(args);
            error = sendText(file, text, (size_t)length);
            free(text);
        }
    }
    uselocale(previous);
    return error;
}

// Sends a command built with CommandText: the same bytes emitf would send.
ASErr sendCommand(FILE* file, const CommandText& command)
{
    if (!sinkOpen(file))
        return kNoErr;
    if (command.overflow)
        return kWriteErr;
    return sendText(file, command.text, command.length);
}

// Starts a command "<prefix>x,y" that goes on with more numbers or its end.
void startPairCommand(CommandText* command, const char* prefix, long x, long y)
{
    CommandTextStart(command);
    CommandTextPut(command, prefix);
    CommandTextPutLong(command, x);
    CommandTextPutChar(command, ',');
    CommandTextPutLong(command, y);
}

// "<prefix>x,y<suffix>": the pen moves and cuts of every language.
ASErr sendPoint(FILE* file, const char* prefix, long x, long y, const char* suffix)
{
    CommandText command;
    startPairCommand(&command, prefix, x, y);
    CommandTextPut(&command, suffix);
    return sendCommand(file, command);
}

// Truncates toward zero and holds the result to 32 bits, so that a huge,
// infinite or undefined value cannot become an arbitrary integer.
long toInt32(double value)
{
    if (isnan(value))
        return 0;
    if (value >= (double)INT32_MAX)
        return INT32_MAX;
    if (value <= (double)INT32_MIN)
        return INT32_MIN;
    return (long)value;
}

double plotterStep()
{
    return g->curPlotter.PlotterStep;
}

// A fixed-size text field, read no further than its array.
size_t fieldLength(const char* text, size_t size)
{
    return text == NULL ? 0 : strnlen(text, size);
}

// Wide enough for any number a dot-cut tag holds, so that a number beyond 32
// bits names no pen rather than the one its low bits would.
const Pen* penAt(long long index)
{
    const Environment& environment = g->curEnvironment;
    if (index < 0 || index >= environment.PenNumber || environment.Pens == NULL)
        return NULL;
    return &environment.Pens[index];
}

long holdTo(long value, long low, long high) { return std::clamp(value, low, high); }

// Acceleration of a pen's level (bits 4-7 of PenReserved) for a colour group.
double colorAcceleration(const Pen& pen)
{
    static const double kTable[] = {0.2, 0.7, 1.4, 2.8};
    int level = (pen.PenReserved & 0xF0) >> 4;
    return level < 4 ? kTable[level] : 4.2;
}

// Acceleration of a pen's level for a layer group, by the plotter's
// acceleration group (bits 6-7 of PlotterReserved).
double layerAcceleration(const Pen& pen)
{
    static const double kGroup40[] = {0.2, 0.2, 0.7, 1.4, 2.8};
    static const double kGroup80[] = {0.2, 0.2, 0.2, 0.2, 0.7};
    static const double kOther[] = {0.2, 0.7, 1.4, 2.8, 4.2};
    int level = (pen.PenReserved & 0xF0) >> 4;
    if (level > 4)
        return 0.2;
    switch (g->curPlotter.PlotterReserved & kPlotterAccelerationMask) {
    case 0x40:
        return kGroup40[level];
    case 0x80:
        return kGroup80[level];
    default:
        return kOther[level];
    }
}

// The pen select of a group, then (HPGL only, when asked) its tool block.
VT_NODISCARD ASErr writeGroupStart(int32_t penIndex, int language, FILE* file, bool toolBlock, bool layerGroup)
{
    ASErr error;
    long long number = (long long)penIndex + 1;
    if (language == kLanguageGPGL)
        error = emitf(file, "J%lld%c\r\n", number, kETX);
    else
        error = emitf(file, "SP%lld;\r\n", number);
    if (error != kNoErr || !toolBlock)
        return error;

    const Pen* pen = penAt(penIndex);
    if (pen != NULL) {
        long velocity = holdTo(toInt32(pen->Velocity), 1, 72);
        long force = toInt32(pen->Pressure);
        double acceleration;
        if (layerGroup) {
            error = emitf(file, "VS%ld;\n", velocity);
            if (error == kNoErr)
                error = emitf(file, "FS%ld;\n", force);
            acceleration = layerAcceleration(*pen);
        } else {
            error = emitf(file, "VS%ld\n", velocity);
            if (error == kNoErr)
                error = emitf(file, "FS%ld\n", holdTo(force, 1, 8));
            acceleration = colorAcceleration(*pen);
        }
        if (error == kNoErr)
            error = emitf(file, "AS%g;\n", acceleration);
        if (error == kNoErr)
            error = emitf(file, "TO%g;\n", pen->Extra);
        if (error != kNoErr)
            return error;
    }
    return emitf(file, "PA;\r\n");
}

VT_NODISCARD ASErr writeGroupText(const char* text, FILE* file)
{
    if (text == NULL)
        return kNoErr;
    return emitf(file, "%s\r\n", text);
}

// The volumes of one group in cut order: ascending index, equal numbers in
// array order; a volume numbered 0 or less is not cut.
template <typename Matches>
VT_NODISCARD ASErr writeGroupVolumes(Matches matches, int language, FILE* file)
{
    if (g->volumes == NULL || g->volumeCount <= 0)
        return kNoErr;
    int32_t* order = (int32_t*)malloc(sizeof(int32_t) * (size_t)g->volumeCount);
    if (order == NULL)
        return kMemoryErr;
    int32_t count = 0;
    for (int32_t i = 0; i < g->volumeCount; i++) {
        if (g->volumes[i].index >= 1 && matches(g->volumes[i]))
            order[count++] = i;
    }
    std::stable_sort(order, order + count,
                     [](int32_t a, int32_t b) { return g->volumes[a].index < g->volumes[b].index; });
    ASErr error = kNoErr;
    for (int32_t i = 0; i < count && error == kNoErr; i++)
        error = plotVolume(g->volumes[order[i]], language, file);
    free(order);
    return error;
}

// One colour or layer group: its pen and settings, its text before, its
// volumes, its text after.
template <typename Matches>
VT_NODISCARD ASErr writeGroup(int32_t penIndex, bool toolBlock, bool layerGroup, const char* preText,
                              const char* postText, Matches matches, int language, FILE* file)
{
    ASErr error = writeGroupStart(penIndex, language, file, toolBlock, layerGroup);
    if (error == kNoErr)
        error = writeGroupText(preText, file);
    if (error == kNoErr)
        error = writeGroupVolumes(matches, language, file);
    if (error == kNoErr)
        error = writeGroupText(postText, file);
    return error;
}

// A string tag of an art object as a heap copy, or null when the art has none
// (or the host cannot tell): the host's text is only good until the next change.
char* copyStringTag(AIArtHandle art, const char* name)
{
    if (art == NULL || sAITag == NULL)
        return NULL;
    const char* value = NULL;
    if (sAITag->GetTag(art, name, "string", (void*)&value) != kNoErr || value == NULL)
        return NULL;
    return strdup(value);
}

// The registration-mark command text stored on the marks group, or null: the
// first child of the marks layer's root group that carries it.
char* findMarksText()
{
    if (sAILayer == NULL || sAIArt == NULL)
        return NULL;
    AILayerHandle layer = NULL;
    if (sAILayer->GetLayerByTitle(&layer, kMarksLayerTitle) != kNoErr || layer == NULL)
        return NULL;
    AIArtHandle root = NULL;
    if (sAIArt->GetFirstArtOfLayer(layer, &root) != kNoErr || root == NULL)
        return NULL;
    AIArtHandle child = NULL;
    if (sAIArt->GetArtFirstChild(root, &child) != kNoErr)
        return NULL;
    while (child != NULL) {
        char* text = copyStringTag(child, kTagAASSetting);
        if (text != NULL)
            return text;
        AIArtHandle next = NULL;
        if (sAIArt->GetArtSibling(child, &next) != kNoErr)
            return NULL;
        child = next;
    }
    return NULL;
}

// Millimetres to plotter steps, truncated toward zero. A conversion cannot
// fail, so the writer's own steps use this rather than the error-code form.
void toSteps(point_struct point, long* x, long* y)
{
    double step = plotterStep();
    *x = toInt32(point.x / step);
    *y = toInt32(point.y / step);
}

}  // namespace

void resetDotCutEnd()
{
    _x = -9999;
    _y = -9999;
}

ASErr convertDimenPointToPlotterLong(point_struct point, long* x, long* y)
{
    toSteps(point, x, y);
    return kNoErr;
}

ASErr USBSendData(int unused, char* bytes, int length)
{
    return USB_Send(bytes, length);
}

ASErr ExportAAS(int language, FILE* file)
{
    if (!sinkOpen(file))
        return kNoErr;
    char* text = findMarksText();
    if (text == NULL)
        return kNoErr;
    // Sent exactly as stored: the text carries its own line end.
    ASErr error = sendText(file, text, strlen(text));
    free(text);
    return error;
}

namespace {

// The plotter's own start or end text, as the library holds it, on a line of
// its own; nothing when it is empty.
VT_NODISCARD ASErr sendPlotterText(FILE* file, const char* text, size_t size)
{
    int length = (int)fieldLength(text, size);
    return length > 0 ? emitf(file, "%.*s\r\n", length, text) : kNoErr;
}

}  // namespace

ASErr initialPloter(int language, FILE* file)
{
    if (!sinkOpen(file))
        return kNoErr;
    ASErr error = ExportAAS(language, file);
    const Plotter& plotter = g->curPlotter;
    if (error == kNoErr)
        error = sendPlotterText(file, plotter.PlotterIniString, sizeof plotter.PlotterIniString);
    if (error == kNoErr && (language == kLanguageHPGL || language == kLanguageDMGL))
        error = emitf(file, "IN;\r\n");
    return error;
}

ASErr endOfPlotOut(int language, FILE* file)
{
    if (!sinkOpen(file))
        return kNoErr;
    ASErr error = kNoErr;
    switch (language) {
    case kLanguageHPGL:
        if (g->backToHome)
            error = emitf(file, "PU0,0;\r\n");
        break;
    case kLanguageGPGL:
    case kLanguageMGL_IC1:
        error = emitf(file, "O 0,0%c\r\n", kETX);
        break;
    case kLanguageDMGL:
        error = emitf(file, "PU;!PG;");
        break;
    default:
        break;
    }
    const Plotter& plotter = g->curPlotter;
    if (error == kNoErr)
        error = sendPlotterText(file, plotter.PlotterEndString, sizeof plotter.PlotterEndString);
    // A full disk shows itself only when the buffered bytes go out.
    if (error == kNoErr && file != NULL && (fflush(file) != 0 || ferror(file)))
        error = kWriteErr;
    return error;
}

// The end of a GPGL or MGL command: ETX, then the line end.
#define kEndOfCommand "\003\r\n"

namespace {

// A pen move to (x, y), up or down: hpgl names it in HPGL and DMGL, gpgl in
// GPGL and MGL_IC1.
VT_NODISCARD ASErr sendPen(long x, long y, int language, FILE* file, const char* hpgl, const char* gpgl)
{
    switch (language) {
    case kLanguageHPGL:
    case kLanguageDMGL:
        return sendPoint(file, hpgl, x, y, ";\r\n");
    case kLanguageGPGL:
    case kLanguageMGL_IC1:
        return sendPoint(file, gpgl, x, y, kEndOfCommand);
    default:
        return kNoErr;
    }
}

}  // namespace

ASErr movePen(long x, long y, int language, FILE* file) { return sendPen(x, y, language, file, "PU", "M "); }

ASErr drawPen(long x, long y, int language, FILE* file) { return sendPen(x, y, language, file, "PD", "D "); }

namespace {

// "] r,r,a1,a2": the arc of GPGL and MGL.
ASErr sendArc(FILE* file, long r, long a1, long a2)
{
    CommandText command;
    startPairCommand(&command, "] ", r, r);
    CommandTextPutChar(&command, ',');
    CommandTextPutLong(&command, a1);
    CommandTextPutChar(&command, ',');
    CommandTextPutLong(&command, a2);
    CommandTextPut(&command, kEndOfCommand);
    return sendCommand(file, command);
}

}  // namespace

ASErr drawArcPen(long cx, long cy, double startAngle, double endAngle, double radius, int language,
                 FILE* file, int direction)
{
    double a = startAngle;
    double b = endAngle;
    switch (language) {
    case kLanguageHPGL:
    case kLanguageDMGL: {
        double sweep = b - a;
        if (direction == 2 && sweep > 0)
            sweep -= 6.283185307;
        else if (direction != 2 && sweep < 0)
            sweep += 6.283185307;
        double degrees = sweep * 180 / 3.1415926535;
        CommandText command;
        startPairCommand(&command, "PD;AA", cx, cy);
        CommandTextPutChar(&command, ',');
        CommandTextPutFixed6(&command, degrees);
        CommandTextPut(&command, g->curPlotter.IsSpecialMachine ? ",1;\r\n" : ";\r\n");
        return sendCommand(file, command);
    }
    case kLanguageGPGL: {
        long r = toInt32(radius / plotterStep() + 0.5);
        if (direction == 2 && b > a)
            b -= 6.283185307;
        else if (direction != 2 && b < a)
            a -= 6.283185307;
        long a1 = toInt32(a * 57.29577951471995 / g->arcAngleUnit + 0.5);
        long a2 = toInt32(b * 57.29577951471995 / g->arcAngleUnit + 0.5);
        return sendArc(file, r, a1, a2);
    }
    case kLanguageMGL_IC1: {
        // Radians in units of arcAngleUnit; the cutter takes the direction
        // from the order of the two angles as they are.
        long r = toInt32(radius / plotterStep() + 0.5);
        long a1 = toInt32(a / g->arcAngleUnit + 0.5);
        long a2 = toInt32(b / g->arcAngleUnit + 0.5);
        return sendArc(file, r, a1, a2);
    }
    default:
        return kNoErr;
    }
}

namespace {

// A piece starts where the pen is down at the end of the last one; after a
// pen up, the pen first moves to the piece's start.
VT_NODISCARD ASErr moveToStart(point_struct start, int language, FILE* file, unsigned char* penUp)
{
    if (!*penUp)
        return kNoErr;
    long x, y;
    toSteps(start, &x, &y);
    ASErr error = movePen(x, y, language, file);
    if (error != kNoErr)
        return error;
    *penUp = 0;
    return kNoErr;
}

// Cuts from where the pen is down to the point.
VT_NODISCARD ASErr cutTo(point_struct point, int language, FILE* file)
{
    long x, y;
    toSteps(point, &x, &y);
    return drawPen(x, y, language, file);
}

// Writes the pieces one after the other, up to the first error.
template <typename Piece>
VT_NODISCARD ASErr piecesOut(Piece* pieces, int count, ASErr (*out)(Piece, int, FILE*, unsigned char*), int language,
                             FILE* file, unsigned char* penUp)
{
    ASErr error = kNoErr;
    for (int i = 0; i < count && error == kNoErr; i++)
        error = out(pieces[i], language, file, penUp);
    return error;
}

}  // namespace

ASErr lineOut(Vexa_Line line, int language, FILE* file, unsigned char* penUp)
{
    if (!sinkOpen(file))
        return kNoErr;
    ASErr error = moveToStart(point_struct{line.x1, line.y1}, language, file, penUp);
    if (error != kNoErr)
        return error;
    return cutTo(point_struct{line.x2, line.y2}, language, file);
}

ASErr linesOut(Vexa_Line* lines, int count, int language, FILE* file, unsigned char* penUp)
{
    return piecesOut(lines, count, lineOut, language, file, penUp);
}

ASErr arcOut(arc_struct arc, int language, FILE* file, unsigned char* penUp)
{
    if (!sinkOpen(file))
        return kNoErr;
    ASErr error = moveToStart(arc.start, language, file, penUp);
    if (error != kNoErr)
        return error;
    if (arc.type == kArcLine)
        return lineOut(Vexa_Line{arc.start.x, arc.start.y, arc.end.x, arc.end.y}, language, file, penUp);
    if (arc.type != kArcCircle && arc.type != kArcFull)
        return kNoErr;

    double dx = arc.start.x - arc.center.x;
    double dy = arc.start.y - arc.center.y;
    double radius = sqrt(dx * dx + dy * dy);
    double a = CalculateRadian(arc.center, arc.start);
    double b = CalculateRadian(arc.center, arc.end);
    int direction = PointOnWhere(arc.start, arc.end, arc.mid);
    if (arc.type == kArcFull) {
        // Start and end coincide: the whole circle, counter-clockwise, rather
        // than an arc of no sweep.
        b = a + 6.283185307;
        direction = 1;
    }
    long cx, cy;
    toSteps(arc.center, &cx, &cy);
    if (labs(cx) <= kMaxArcCentreSteps && labs(cy) <= kMaxArcCentreSteps)
        return drawArcPen(cx, cy, a, b, radius, language, file, direction);
    return cutTo(arc.end, language, file);
}

ASErr arcsOut(arc_struct* arcs, int count, int language, FILE* file, unsigned char* penUp)
{
    return piecesOut(arcs, count, arcOut, language, file, penUp);
}

ASErr lineOutCutOff(Vexa_Line line, int language, FILE* file, unsigned char* penUp)
{
    if (!sinkOpen(file))
        return kNoErr;
    long x, y;
    toSteps(point_struct{line.x1, line.y1}, &x, &y);
    // The cut-off position goes out y first, as the cutters have always read it.
    ASErr error = movePen(y, x, language, file);
    if (error != kNoErr)
        return error;
    *penUp = 0;
    return emitf(file, "ZT;\r\n");
}

namespace {

// The overcut direction of a chord from `from` to `to`, with the lengths taken
// in single precision as the cutters' output always has been. False for a
// chord of no length, which has no direction.
bool overcutDirection(point_struct from, point_struct to, double* ux, double* uy)
{
    float x0 = (float)from.x, y0 = (float)from.y;
    float x1 = (float)to.x, y1 = (float)to.y;
    float dx = x0 - x1;
    float dy = y0 - y1;
    double length = sqrt((double)(dx * dx + dy * dy));
    if (!(length > 0) || !isfinite(length))
        return false;
    *ux = dx / length;
    *uy = dy / length;
    return true;
}

VT_NODISCARD ASErr writeFit(const CutFit& fit, int language, FILE* file, unsigned char* penUp)
{
    if (fit.type == kCutFitArcs)
        return arcsOut(fit.arcs, fit.count, language, file, penUp);
    if (fit.type == kCutFitLines)
        return linesOut(fit.lines, fit.count, language, file, penUp);
    return kNoErr;
}

// The pen a dot-cut tag names, NULL when it names none; a tag without digits
// names pen 0, as atoi reads it.
const Pen* dotCutPen(const char* tag) { return penAt(strtoll(tag, NULL, 10)); }

}  // namespace

ASErr plotRingTagged(Ring ring, int language, FILE* file, Volume volume, const double (&offset)[2],
                     const char* dotCutTag)
{
    const bezier_stru* segments = NULL;
    if (!sinkOpen(file))
        return kNoErr;
    if (ringSegments(&ring, segmentRoom(kSegmentsForWriting), &segments) != kNoErr)
        return kMemoryErr;
    if (segments == NULL)
        return kNoErr;
    unsigned char penUp = 1;
    ASErr error = kNoErr;
    CutSegment path;
    initCutSegment(&path);
    Placement placement = placementOf(volume);
    for (int32_t k = 0; k < ring.count && error == kNoErr; k++) {
        bezier_stru bezier = placeWith(placement, segments[k], offset);
        if (makeCutSegment(&bezier, &volume, &path) != kNoErr) {
            error = kMemoryErr;
            break;
        }
        const point_struct* points = path.points;
        int n = path.count - 1;

        bool overcut = g->overCut && BezierIsLine(&bezier) == 1;
        double ux, uy;
        if (overcut && overcutDirection(points[0], points[1], &ux, &uy)) {
            Vexa_Line lead = {points[0].x + g->overCutStart * ux, points[0].y + g->overCutStart * uy,
                              points[0].x, points[0].y};
            error = linesOut(&lead, 1, language, file, &penUp);
        }

        if (error == kNoErr && dotCutTag == NULL) {
            error = writeFit(path.fit, language, file, &penUp);
            if (error == kNoErr && overcut) {
                if (overcutDirection(points[n], points[n - 1], &ux, &uy)) {
                    Vexa_Line tail = {points[n].x, points[n].y, points[n].x + g->overCutEnd * ux,
                                      points[n].y + g->overCutEnd * uy};
                    error = linesOut(&tail, 1, language, file, &penUp);
                }
                penUp = 1;
            }
        } else if (error == kNoErr) {
            long x, y;
            toSteps(points[0], &x, &y);
            const Pen* pen = dotCutPen(dotCutTag);
            if (pen != NULL)
                error = emitf(file, "PU%ld,%ld;\nPU%ld,%ld;\nFS%ld;\n", x + 1, y, x, y,
                              toInt32(pen->Pressure));
            penUp = (x == _x && y == _y) ? 0 : 1;
            if (error == kNoErr)
                error = writeFit(path.fit, language, file, &penUp);
            toSteps(points[n], &_x, &_y);
        }
    }
    freeCutSegment(&path);
    return error;
}

ASErr plotRing(Ring ring, int language, FILE* file, Volume volume, const double (&offset)[2])
{
    if (!sinkOpen(file))
        return kNoErr;
    char* tag = copyStringTag(ring.art, kTagDotCut);
    ASErr error = plotRingTagged(ring, language, file, volume, offset, tag);
    free(tag);
    return error;
}

ASErr plotVolumeTile(Volume volume, int language, FILE* file, const double (&offset)[2])
{
    if (!sinkOpen(file) || volumeInJob(&volume) != kJobCut || volume.rings == NULL)
        return kNoErr;
    ASErr error = kNoErr;
    if (isDotCutVolume(&volume)) {
        // The pieces in the order they were made, so that one continuing the
        // last keeps the knife down; the source they stand for is not cut.
        resetDotCutEnd();
        for (int32_t i = 0; i < volume.ringCount && error == kNoErr; i++)
            if (ringInJob(&volume, i) == kJobCut)
                error = plotRing(volume.rings[i], language, file, volume, offset);
    } else {
        // Smallest ring first, so inner contours are cut before the outline
        // that holds them frees the piece.
        for (int32_t i = volume.ringCount - 1; i >= 0 && error == kNoErr; i--)
            if (ringInJob(&volume, i) == kJobCut)
                error = plotRing(volume.rings[i], language, file, volume, offset);
    }
    return error;
}

ASErr plotVolume(Volume volume, int language, FILE* file)
{
    if (!sinkOpen(file) || volumeInJob(&volume) != kJobCut)
        return kNoErr;
    ASErr error = kNoErr;
    for (int32_t i = 0; i < volume.copiesX && error == kNoErr; i++) {
        for (int32_t j = 0; j < volume.copiesY && error == kNoErr; j++) {
            double offset[2];
            getVolumeCopyOffset(volume, i, j, offset);
            error = plotVolumeTile(volume, language, file, offset);
        }
    }
    return error;
}

ASErr plotOutColor(Color color, int language, FILE* file)
{
    if (!sinkOpen(file))
        return kNoErr;
    // Matched by the entry's whole key, so that two entries of equal RGB but
    // different colour kinds do not both cut the same volumes.
    return writeGroup(color.pen, language == kLanguageHPGL, false, color.preText, color.postText,
                      [&color](const Volume& v) { return volumeMatchesColor(&v, &color); }, language, file);
}

ASErr plotOutLayer(Layer layer, int language, FILE* file)
{
    if (!sinkOpen(file))
        return kNoErr;
    bool toolBlock = g->usePlotterSetting == 0 && language == kLanguageHPGL;
    return writeGroup(layer.pen, toolBlock, true, layer.preText, layer.postText,
                      [&layer](const Volume& v) { return volumeMatchesLayer(&v, &layer); }, language, file);
}

ASErr plotOutGlobalVolumes(Layer* layers, int layerCount, Color* colors, int colorCount, int language,
                           FILE* file, unsigned char byLayer)
{
    if (!sinkOpen(file))
        return kNoErr;
    ASErr error = kNoErr;
    if (byLayer) {
        for (int i = 0; layers != NULL && i < layerCount && error == kNoErr; i++)
            error = plotOutLayer(layers[i], language, file);
    } else {
        for (int i = 0; colors != NULL && i < colorCount && error == kNoErr; i++)
            error = plotOutColor(colors[i], language, file);
    }
    return error;
}

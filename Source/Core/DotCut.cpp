// Dot cut: perforation pieces made in the document.
#include "Core/DotCut.h"

#include <algorithm>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "Common/PluginGlobals.h"
#include "Common/Suites.h"
#include "Common/Units.h"
#include "Core/CutModel.h"
#include "Core/PlotterPreferences.h"
#include "Core/StrokeStyle.h"

// Hundredths of a millimetre to points, in single precision as the pieces'
// lengths have always been measured.
static const float kHundredthMillimetreToPoint = 0.01f * 2.8346457f;

ASErr GetCurrentEnvPen(void)
{
    Environment* env = &g->curEnvironment;
    free(env->Pens);
    env->Pens = NULL;
    env->PenNumber = 0;

    ASInt32 count = 0;
    ASErr err = sAIPreference->GetIntegerPreference(kCurrentPlotterPrefix, "EnvironmentPenNum", &count);
    if (err) return err;
    // A count no plotter has is a damaged preference: nothing is listed.
    if (count < 1 || count > kMaxPenCount) return kNoErr;
    Pen* pens = (Pen*)calloc((size_t)count, sizeof(Pen));
    if (pens == NULL) return kMemoryErr;

    // Only pens whose names were read are listed; the first name missing ends
    // the list.
    int32_t named = 0;
    for (int32_t i = 0; i < count; i++) {
        char key[kPlotterPrefKeySize];
        snprintf(key, sizeof key, "PenName-%d", (int)i);
        char name[sizeof pens[i].PenName];
        name[0] = 0;
        err = sAIPreference->GetStringPreference(kCurrentPlotterPrefix, key, name, sizeof name);
        if (err || name[0] == 0) break;
        memcpy(pens[i].PenName, name, sizeof name);
        pens[i].PenName[sizeof pens[i].PenName - 1] = 0;
        named++;
    }
    if (named == 0) {
        free(pens);
        return err;
    }
    env->Pens = pens;
    env->PenNumber = named;
    return err;
}

// ---- Pieces --------------------------------------------------------------------------

static AIPathSegment anchorAt(AIRealPoint p, AIRealPoint in, AIRealPoint out)
{
    AIPathSegment s;
    memset(&s, 0, sizeof s);
    s.p = p;
    s.in = in;
    s.out = out;
    s.corner = 1;
    return s;
}

// One piece: an open path of two anchors whose handles give back exactly
// the part of the curve it was made from, drawn and tagged with its pen.
static void makePiece(const AIRealBezier* part, bool cutThrough, AIArtHandle group)
{
    AIArtHandle path = NULL;
    if (sAIArt->NewArt(kPathArt, kPlaceInsideOnBottom, group, &path) || path == NULL) return;
    AIPathSegment seg[] = {anchorAt(part->p0, part->p0, part->p1), anchorAt(part->p3, part->p2, part->p3)};
    // Host errors here leave a piece as the host has it: the group still
    // holds the source, and running dot cut on it again gives the source back.
    if (sAIPath->SetPathSegmentCount(path, 2)) return;
    if (sAIPath->SetPathSegments(path, 0, 2, seg)) return;
    (void)sAIPath->SetPathClosed(path, 0);

    if (cutThrough)
        (void)setStrokeOnly(path, kDotCutThroughRed, kDotCutThroughGreen, kDotCutThroughBlue, kDotCutThroughWidth);
    else
        (void)setStrokeOnly(path, kDotCutHalfCutRed, kDotCutHalfCutGreen, kDotCutHalfCutBlue, kDotCutHalfCutWidth);
    char tag[16];
    snprintf(tag, sizeof tag, "%d", (int)(cutThrough ? g->dotCutThroughPen : g->dotCutHalfCutPen));
    (void)sAITag->SetTag(path, kTagDotCut, "string", tag);
}

bool AssignDotCutBezierByLength(AIRealBezier* bezier, AIReal* carried, AIReal target, bool* cutThrough,
                                AIArtHandle group)
{
    bool pen = *cutThrough;
    AIReal length = sAIRealBezier->Length(bezier, kDotCutFlatness);
    AIRealBezier piece = *bezier;
    AIReal pieceLength = length;
    bool usedUp;
    if (*carried + length < target) {
        *carried += length;
        usedUp = true;
    } else {
        pieceLength = target - *carried;
        AIReal t = sAIRealBezier->TAtLength(bezier, pieceLength, length, kDotCutFlatness);
        AIRealBezier rest;
        sAIRealBezier->Divide(bezier, t, &piece, &rest);
        *bezier = rest;
        *carried = 0;
        *cutThrough = !*cutThrough;
        // When the length is reached at the very end, nothing is left for the
        // other pen here; it starts on the next segment.
        usedUp = t >= 1.0f || length - pieceLength < kDotCutShortestPiece;
    }
    if (pieceLength >= kDotCutShortestPiece) makePiece(&piece, pen, group);
    return usedUp;
}

ASErr AssignDotCutPathArt(AIArtHandle path, AIArtHandle group)
{
    AIReal through = (AIReal)g->dotCutThroughLength * kHundredthMillimetreToPoint;
    AIReal half = (AIReal)g->dotCutHalfCutLength * kHundredthMillimetreToPoint;
    // A length that makes no progress would never use a segment up.
    if (!(through >= kDotCutShortestPiece) || !(half >= kDotCutShortestPiece)) return kNoErr;

    int32_t count = 0;
    AIBoolean closed = 0;
    if (sAIPath->GetPathSegmentCount(path, &count)) return kNoErr;
    (void)sAIPath->GetPathClosed(path, &closed);
    int32_t n = closed ? count : count - 1;

    bool cutThrough = true;
    AIReal carried = 0;
    for (int32_t i = 0; i < n; i++) {
        AIRealBezier bezier;
        if (sAIPath->GetPathBezier(path, i, &bezier)) continue;
        // A segment gives at most one piece per shorter length and one more
        // per turn; far from the origin single precision may stop a split
        // from moving on, and the segment then ends rather than never.
        double turns = 2.0 * sAIRealBezier->Length(&bezier, kDotCutFlatness) / std::min(half, through) + 8.0;
        for (double k = 0; k < turns; k++)
            if (AssignDotCutBezierByLength(&bezier, &carried, cutThrough ? through : half, &cutThrough, group)) break;
    }
    return kNoErr;
}

ASErr AssignDotCutArt(AIArtHandle art, AIArtHandle group)
{
    int16_t type = kUnknownArt;
    if (sAIArt->GetArtType(art, &type)) return kNoErr;
    if (type == kPathArt) return AssignDotCutPathArt(art, group);
    if (type != kGroupArt && type != kCompoundPathArt) return kNoErr;
    AIArtHandle child = NULL;
    if (sAIArt->GetArtFirstChild(art, &child)) return kNoErr;
    while (child != NULL) {
        (void)AssignDotCutArt(child, group);
        if (sAIArt->GetArtSibling(child, &child)) break;
    }
    return kNoErr;
}

ASErr MakeDotCut(AIArtHandle group)
{
    AIArtHandle source = NULL;
    if (sAIArt->GetArtFirstChild(group, &source) || source == NULL) return kNoErr;
    return AssignDotCutArt(source, group);
}

// ---- The document --------------------------------------------------------------------

uint8_t isDotCutGroup(AIArtHandle art)
{
    int16_t type = kUnknownArt;
    if (sAIArt->GetArtType(art, &type) || type != kGroupArt) return 0;
    AIBoolean tagged = 0;
    if (sAITag->HasTag(art, kTagDotCut, &tagged) || !tagged) return 0;
    AIArtHandle source = NULL;
    return sAIArt->GetArtFirstChild(art, &source) == kNoErr && source != NULL;
}

// Puts the source back where its group was and drops the group with its
// pieces.
static void restoreSource(AIArtHandle group)
{
    AIArtHandle source = NULL;
    if (sAIArt->GetArtFirstChild(group, &source) || source == NULL) return;
    if (sAIArt->ReorderArt(source, kPlaceAbove, group)) return;  // never lose the source
    (void)sAIArt->DisposeArt(group);
}

static void cutIntoGroup(AIArtHandle art)
{
    AIArtHandle group = NULL;
    if (sAIArt->NewArt(kGroupArt, kPlaceAbove, art, &group) || group == NULL) return;
    if (sAIArt->ReorderArt(art, kPlaceInsideOnTop, group)) {
        (void)sAIArt->DisposeArt(group);  // still empty
        return;
    }
    (void)MakeDotCut(group);
    char tag[32];
    snprintf(tag, sizeof tag, "%d%d", (int)g->dotCutThroughPen, (int)g->dotCutHalfCutPen);
    (void)sAITag->SetTag(group, kTagDotCut, "string", tag);
}

ASErr dotCutSelection(void)
{
    if (g->dotCutThroughLength <= 0 || g->dotCutHalfCutLength <= 0) return kNoErr;
    int32_t layers = 0;
    ASErr err = sAILayer->CountLayers(&layers);
    if (err) return err;
    for (int32_t k = 0; k < layers; k++) {
        AILayerHandle layer = NULL;
        if (sAILayer->GetNthLayer(k, &layer) || layer == NULL || isMarksLayer(layer)) continue;
        AIArtHandle root = NULL, art = NULL;
        if (sAIArt->GetFirstArtOfLayer(layer, &root) || root == NULL) continue;
        if (sAIArt->GetArtFirstChild(root, &art)) continue;
        while (art != NULL) {
            // The next object is taken before this one moves into a group.
            AIArtHandle next = NULL;
            if (sAIArt->GetArtSibling(art, &next)) next = NULL;
            int32_t attr = 0;
            if (sAIArt->GetArtUserAttr(art, kArtSelected, &attr) == kNoErr && (attr & kArtSelected)) {
                if (isDotCutGroup(art))
                    restoreSource(art);
                else
                    cutIntoGroup(art);
            }
            art = next;
        }
    }
    return kNoErr;
}

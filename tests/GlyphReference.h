// Letters as FreeType itself reads them from a font file, for comparing with
// what the host lays out and outlines: every point FreeType puts on a glyph's
// outline, the glyph's exact bounding box and its advance, placed at a size and
// a baseline origin in document points (y up).
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_BBOX_H
#include FT_OUTLINE_H

#include <cmath>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "DocumentFixture.h"

namespace vt::test {

struct ReferenceGlyph {
    std::vector<std::vector<AIRealPoint>> onCurve;  // per contour, in the font's order
    AIRealRect box{};                                // the exact extremes of the outline
    double advance = 0;                              // to the next letter, before kerning
};

class ReferenceFont {
public:
    // face: the index of the face in a font collection (0 for a plain file).
    ReferenceFont(const std::string& file, int face)
    {
        if (FT_Init_FreeType(&library_) != 0) return;
        if (FT_New_Face(library_, file.c_str(), face, &face_) != 0) face_ = nullptr;
    }
    ~ReferenceFont()
    {
        if (face_) FT_Done_Face(face_);
        if (library_) FT_Done_FreeType(library_);
    }
    ReferenceFont(const ReferenceFont&) = delete;
    ReferenceFont& operator=(const ReferenceFont&) = delete;

    bool loaded() const { return face_ != nullptr; }
    long faceCount() const { return face_ ? face_->num_faces : 0; }
    std::string family() const { return face_ && face_->family_name ? face_->family_name : ""; }

    // The glyph of one character with its pen at (x, y), at size points to the em.
    ReferenceGlyph glyph(unsigned long code, double size, double x, double y) const
    {
        ReferenceGlyph g;
        if (!face_ || FT_Load_Char(face_, code, FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP) != 0)
            return g;
        const double k = size / face_->units_per_EM;
        const FT_Outline& o = face_->glyph->outline;
        auto at = [&](const FT_Vector& v) {
            return AIRealPoint{static_cast<AIReal>(x + v.x * k), static_cast<AIReal>(y + v.y * k)};
        };
        int first = 0;
        for (int c = 0; c < o.n_contours; ++c) {
            std::vector<AIRealPoint> points;
            for (int i = first; i <= o.contours[c]; ++i)
                if (FT_CURVE_TAG(o.tags[i]) == FT_CURVE_TAG_ON) points.push_back(at(o.points[i]));
            g.onCurve.push_back(points);
            first = o.contours[c] + 1;
        }
        FT_BBox box;
        FT_Outline_Get_BBox(const_cast<FT_Outline*>(&o), &box);
        g.box = AIRealRect{static_cast<AIReal>(x + box.xMin * k), static_cast<AIReal>(y + box.yMax * k),
                           static_cast<AIReal>(x + box.xMax * k), static_cast<AIReal>(y + box.yMin * k)};
        g.advance = face_->glyph->metrics.horiAdvance * k;
        return g;
    }

    // The kerning between two characters, in points at size.
    double kerning(unsigned long left, unsigned long right, double size) const
    {
        FT_Vector delta{0, 0};
        if (!face_ || !FT_HAS_KERNING(face_)) return 0;
        FT_Get_Kerning(face_, FT_Get_Char_Index(face_, left), FT_Get_Char_Index(face_, right), FT_KERNING_UNSCALED,
                       &delta);
        return delta.x * size / face_->units_per_EM;
    }

    // The glyphs of one line of single-byte text, each pen advanced by the
    // glyph before it and their kerning.
    std::vector<ReferenceGlyph> line(const std::string& text, double size, double x, double y) const
    {
        std::vector<ReferenceGlyph> glyphs;
        double pen = x;
        for (size_t i = 0; i < text.size(); ++i) {
            unsigned char c = static_cast<unsigned char>(text[i]);
            if (i > 0) pen += kerning(static_cast<unsigned char>(text[i - 1]), c, size);
            glyphs.push_back(glyph(c, size, pen, y));
            pen += glyphs.back().advance;
        }
        return glyphs;
    }

private:
    FT_Library library_ = nullptr;
    FT_Face face_ = nullptr;
};

// Expects the contours of one letter to be FreeType's glyph: one contour for
// each of FreeType's (in its order, unless anyOrder), with an anchor at every
// point FreeType puts on it, met in FreeType's order once round, and reaching
// FreeType's extremes. Anchors are compared to a thousandth of a point,
// extremes to a hundredth.
inline void expectSameLetter(const std::vector<std::vector<AIPathSegment>>& contours, const ReferenceGlyph& glyph,
                             bool anyOrder = false)
{
    ASSERT_EQ(contours.size(), glyph.onCurve.size());
    auto near = [](AIRealPoint a, AIRealPoint b) { return std::fabs(a.h - b.h) <= 1e-3 && std::fabs(a.v - b.v) <= 1e-3; };
    AIRealRect box{1e30f, -1e30f, -1e30f, 1e30f};
    for (size_t c = 0; c < contours.size(); ++c) {
        SCOPED_TRACE("contour " + std::to_string(c));
        const auto& points = glyph.onCurve[c];
        size_t mine = c;
        if (anyOrder && !points.empty()) {
            auto holds = [&](const std::vector<AIPathSegment>& anchors) {
                for (const AIPathSegment& s : anchors)
                    if (near(s.p, points[0])) return true;
                return false;
            };
            mine = 0;
            while (mine < contours.size() && !holds(contours[mine])) ++mine;
            ASSERT_LT(mine, contours.size()) << "no contour through " << points[0].h << ", " << points[0].v;
        }
        const auto& anchors = contours[mine];
        ASSERT_FALSE(anchors.empty());
        ASSERT_FALSE(points.empty());
        size_t k = 0;
        while (k < anchors.size() && !near(anchors[k].p, points[0])) ++k;
        ASSERT_LT(k, anchors.size()) << "no anchor at FreeType's first point " << points[0].h << ", " << points[0].v;
        size_t travelled = 0;
        for (size_t i = 1; i < points.size(); ++i) {
            do {
                k = (k + 1) % anchors.size();
                ++travelled;
            } while (travelled < anchors.size() && !near(anchors[k].p, points[i]));
            ASSERT_LT(travelled, anchors.size()) << "no anchor at FreeType's point " << i << " (" << points[i].h
                                                 << ", " << points[i].v << ") after the one before it";
        }
        for (size_t i = 0; i < anchors.size(); ++i)
            for (int s = 0; s <= 64; ++s) {
                AIRealPoint p = pointOnContour(anchors, i, s / 64.0);
                box.left = std::min(box.left, p.h);
                box.right = std::max(box.right, p.h);
                box.bottom = std::min(box.bottom, p.v);
                box.top = std::max(box.top, p.v);
            }
    }
    EXPECT_NEAR(box.left, glyph.box.left, 0.01);
    EXPECT_NEAR(box.right, glyph.box.right, 0.01);
    EXPECT_NEAR(box.top, glyph.box.top, 0.01);
    EXPECT_NEAR(box.bottom, glyph.box.bottom, 0.01);
}

}  // namespace vt::test

// A document a host run saved, read back in a host of its own so that a test
// can look at its art.
#pragma once

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Documents/Document.h"
#include "Documents/Svg.h"
#include "Host.h"

namespace vt::test {

class SavedDocument {
public:
    explicit SavedDocument(const std::string& path)
    {
        host::HostOptions options;
        options.out = &out_;
        host_ = std::make_unique<host::Host>(options);
        std::string error;
        auto d = host::readSvgFile(host::documents(), path, error);
        EXPECT_TRUE(d) << error;
        if (d) host::documents().adopt(std::move(d));
    }
    host::Document* doc() { return host::currentDocument(); }
    // The art of this type, none when the document could not be read.
    std::vector<host::ArtNode*> all(int16_t type)
    {
        std::vector<host::ArtNode*> out;
        if (doc())
            for (host::ArtNode* a : doc()->allArt())
                if (a->type == type) out.push_back(a);
        return out;
    }

private:
    std::ostringstream out_;
    std::unique_ptr<host::Host> host_;
};

// An art's bounds in millimetres: left, top, right, bottom.
inline AIRealRect boundsMm(const host::ArtNode* art)
{
    constexpr double kPointsPerMm = 72.0 / 25.4;
    AIRealRect r{};
    host::artBounds(art, false, r);
    return AIRealRect{float(r.left / kPointsPerMm), float(r.top / kPointsPerMm), float(r.right / kPointsPerMm),
                      float(r.bottom / kPointsPerMm)};
}

}  // namespace vt::test

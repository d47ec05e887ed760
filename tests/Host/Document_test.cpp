// The art tree of the host's documents: where placing, moving, disposing and
// duplicating put art, read both ways along the sibling links.
#include <gtest/gtest.h>

#include <string>

#include "Documents/Document.h"

using namespace vt::host;

namespace {

// The children's names front to back, checked against the walk back to front
// and against each child's parent link.
std::string order(const ArtNode* parent)
{
    std::string forward, backward;
    for (ArtNode* c : parent->children) {
        EXPECT_EQ(c->parent, parent) << c->name;
        forward += c->name;
    }
    for (auto it = parent->children.rbegin(); it != parent->children.rend(); ++it) backward = (*it)->name + backward;
    EXPECT_EQ(forward, backward) << "the links disagree";
    EXPECT_EQ(forward.size(), parent->children.size());
    return forward;
}

// A layer holding a group of a, b, c front to back, and a detached d.
struct Tree {
    Documents store;
    Document doc{store};
    ArtNode* group = nullptr;
    ArtNode* art[4] = {};

    Tree()
    {
        doc.insertLayer(0, "Layer 1");
        group = doc.newArt(kGroupArt);
        EXPECT_EQ(doc.place(group, kPlaceAboveAll, nullptr), kNoErr);
        for (int i = 0; i < 4; ++i) {
            art[i] = doc.newArt(kPathArt);
            art[i]->name = std::string(1, static_cast<char>('a' + i));
        }
        for (int i = 2; i >= 0; --i) EXPECT_EQ(doc.place(art[i], kPlaceInsideOnTop, group), kNoErr);
    }
    ArtNode* named(char name) { return art[name - 'a']; }
};

class ArtTree : public ::testing::Test, protected Tree {};

TEST(ArtTreeOrder, PlacingAndMovingKeepTheOrderTheyName)
{
    struct Row {
        const char* what;
        char node;
        int16_t paintOrder;
        char prep;  // 0: the group itself
        const char* expected;
    } rows[] = {
        {"a new one in front of all", 'd', kPlaceInsideOnTop, 0, "dabc"},
        {"a new one behind all", 'd', kPlaceInsideOnBottom, 0, "abcd"},
        {"a new one in front of b", 'd', kPlaceAbove, 'b', "adbc"},
        {"a new one behind b", 'd', kPlaceBelow, 'b', "abdc"},
        {"a new one behind the last", 'd', kPlaceBelow, 'c', "abcd"},
        {"the front one to the back", 'a', kPlaceInsideOnBottom, 0, "bca"},
        {"the back one to the front", 'c', kPlaceInsideOnTop, 0, "cab"},
        {"the front one behind the next", 'a', kPlaceBelow, 'b', "bac"},
        {"the back one in front of the one before", 'c', kPlaceAbove, 'b', "acb"},
        {"one in front of itself stays", 'b', kPlaceAbove, 'b', "abc"},
        {"one behind itself stays", 'b', kPlaceBelow, 'b', "abc"},
        {"one in front of the one behind it stays", 'a', kPlaceAbove, 'b', "abc"},
        {"the front one to the front stays", 'a', kPlaceInsideOnTop, 0, "abc"},
        {"the back one to the back stays", 'c', kPlaceInsideOnBottom, 0, "abc"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Tree t;
        ArtNode* prep = row.prep ? t.named(row.prep) : t.group;
        ASSERT_EQ(t.doc.place(t.named(row.node), row.paintOrder, prep), kNoErr);
        EXPECT_EQ(order(t.group), row.expected);
        EXPECT_EQ(t.group->children.front()->prior, nullptr);
        EXPECT_EQ(t.group->children.back()->next, nullptr);
    }
}

TEST_F(ArtTree, DisposingUnlinksWhereverTheArtIs)
{
    doc.dispose(named('b'));
    EXPECT_EQ(order(group), "ac");
    EXPECT_EQ(named('a')->next, named('c'));
    EXPECT_EQ(named('c')->prior, named('a'));
    doc.dispose(named('a'));
    EXPECT_EQ(order(group), "c");
    doc.dispose(named('c'));
    EXPECT_EQ(order(group), "");
    EXPECT_TRUE(group->children.empty());
    EXPECT_EQ(group->children.front(), nullptr);
    EXPECT_EQ(group->children.back(), nullptr);
}

TEST_F(ArtTree, MovingIntoAnotherGroupTakesTheArtAndItsLayerAlong)
{
    LayerNode* second = doc.insertLayer(-1, "Layer 2");
    ArtNode* other = doc.newArt(kGroupArt);
    ASSERT_EQ(doc.place(other, kPlaceInsideOnTop, second->root), kNoErr);
    ASSERT_EQ(doc.place(group, kPlaceInsideOnBottom, other), kNoErr);
    EXPECT_EQ(named('b')->layer, second) << "everything inside moves to the new layer";
    ASSERT_EQ(doc.place(named('b'), kPlaceInsideOnTop, other), kNoErr);
    EXPECT_EQ(order(group), "ac");
    EXPECT_EQ(other->children.front(), named('b'));
    EXPECT_EQ(named('b')->next, group);
    EXPECT_EQ(doc.place(other, kPlaceInsideOnTop, group), kBadParameterErr) << "never inside itself";
    EXPECT_EQ(order(group), "ac");
}

TEST_F(ArtTree, ADuplicateHasItsOwnChildrenInTheSameOrder)
{
    ArtNode* copy = doc.duplicate(group);
    EXPECT_EQ(copy->parent, nullptr);
    EXPECT_EQ(order(copy), "abc");
    for (ArtNode* c : copy->children) EXPECT_NE(doc.art(Document::handle(c)), nullptr);
    EXPECT_EQ(order(group), "abc") << "the original keeps its own";
    ASSERT_EQ(doc.place(copy, kPlaceBelow, group), kNoErr);
    EXPECT_EQ(group->next, copy);
    AIArtHandle b = Document::handle(named('b'));
    doc.dispose(group);
    EXPECT_EQ(doc.art(b), nullptr) << "disposed with its group";
    EXPECT_EQ(order(copy), "abc");
}

TEST_F(ArtTree, ThousandsOfSiblingsWalkBothWays)
{
    ArtNode* many = doc.newArt(kGroupArt);
    ASSERT_EQ(doc.place(many, kPlaceAboveAll, nullptr), kNoErr);
    const int n = 20000;
    for (int i = 0; i < n; ++i) ASSERT_EQ(doc.place(doc.newArt(kPathArt), kPlaceInsideOnTop, many), kNoErr);
    int forward = 0, backward = 0;
    for (ArtNode* c = many->children.front(); c; c = c->next) ++forward;
    for (ArtNode* c = many->children.back(); c; c = c->prior) ++backward;
    EXPECT_EQ(forward, n);
    EXPECT_EQ(backward, n);
    EXPECT_EQ(many->children.size(), static_cast<size_t>(n));
}

}  // namespace

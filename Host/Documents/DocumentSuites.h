// What the document suites share. Each suite lives in its own file in this
// folder (ArtSuite.cpp, PathSuite.cpp, ...) as a struct of operations that
// installOps sets in the suite's table; they all act on the current document
// and check every handle the plug-in passes against it, so a stale handle is
// an error, not a crash.
// Internal to the suite files.
#pragma once

#include "Documents/Document.h"
#include "Suites/SuiteTables.h"

namespace vt::host::docsuites {

inline Document* doc() { return currentDocument(); }

// The art of a handle; null when there is no document or the handle is not its art.
inline ArtNode* artOf(AIArtHandle h)
{
    Document* d = doc();
    return d ? d->art(h) : nullptr;
}

// The art of a handle when it is of the type asked for; null with err set to
// kBadArtErr (no such art) or kWrongArtTypeErr (art of another type).
inline ArtNode* artOfType(AIArtHandle h, int16_t type, ASErr& err)
{
    ArtNode* n = artOf(h);
    err = !n ? ASErr(kBadArtErr) : n->type != type ? ASErr(kWrongArtTypeErr) : ASErr(kNoErr);
    return err ? nullptr : n;
}

inline ArtNode* pathOf(AIArtHandle h, ASErr& err) { return artOfType(h, kPathArt, err); }

inline LayerNode* layerOf(AILayerHandle h)
{
    Document* d = doc();
    return d ? d->layer(h) : nullptr;
}

// One field of the node a handle found, read or written: a node not found, or
// no place to put the value (or take the text from), answers `bad`.
template <typename Node, typename T, typename Out>
ASErr readField(Node* n, T Node::*field, Out* out, ASErr bad)
{
    if (!n || !out) return bad;
    *out = n->*field;
    return kNoErr;
}

template <typename Node, typename T, typename V>
ASErr writeField(Node* n, T Node::*field, V value, ASErr bad)
{
    if (!n) return bad;
    n->*field = value;
    return kNoErr;
}

// One field of a document (the current one, or a view's): no document answers
// kNoDocumentErr, no place to put the value or take it from kBadParameterErr.
template <typename T>
ASErr readDocumentField(Document* d, T Document::*field, T* out)
{
    if (!d) return kNoDocumentErr;
    return readField(d, field, out, kBadParameterErr);
}

template <typename T>
ASErr writeDocumentField(Document* d, T Document::*field, const T* in)
{
    if (!d) return kNoDocumentErr;
    if (!in) return kBadParameterErr;
    d->*field = *in;
    return kNoErr;
}

// A text field, copied out whole or cut before a character that does not fit.
template <typename Node>
ASErr readText(Node* n, std::string Node::*field, char* out, size_t size, ASErr bad)
{
    if (!n || !out) return bad;
    copyUtf8(out, size, n->*field);
    return kNoErr;
}

template <typename Node>
ASErr writeText(Node* n, std::string Node::*field, const char* text, ASErr bad)
{
    if (!n || !text) return bad;
    n->*field = text;
    return kNoErr;
}

}  // namespace vt::host::docsuites

// Script commands for documents: open, new, select, deselect, save, close.
#include <ostream>

#include "Documents/Document.h"
#include "Documents/Svg.h"
#include "Host.h"
#include "Script/Script.h"
#include "Script/ScriptArgs.h"
#include "Session.h"

namespace vt::host {
namespace {

Document* requireDocument(std::string& error)
{
    Document* d = currentDocument();
    if (!d) error = "no document is open";
    return d;
}

ScriptCommandRegistrar openCommand(
    "open", "open FILE.svg  open an SVG file as the current document",
    [](ScriptContext& c, const auto& args, std::string& error) {
        if (!expectOneArg(args, "the SVG file", error)) return false;
        Documents& store = documents();
        auto doc = readSvgFile(store, c.path(args[0]), error);
        if (!doc) return false;
        size_t art = doc->allArt().size();
        size_t layers = doc->layers().size();
        store.adopt(std::move(doc));
        c.out << "opened " << args[0] << ": " << layers << " layer(s), " << art << " object(s)\n";
        return true;
    });

ScriptCommandRegistrar newCommand("new-document", "new-document  start an empty document (A4, one layer)",
                                  [](ScriptContext& c, const auto& args, std::string& error) {
                                      if (!expectNoArgs(args, error)) return false;
                                      documents().newDocument();
                                      c.out << "new document\n";
                                      return true;
                                  });

ScriptCommandRegistrar closeCommand("close-document", "close-document  close the current document",
                                    [](ScriptContext& c, const auto& args, std::string& error) {
                                        if (!expectNoArgs(args, error)) return false;
                                        documents().close();
                                        return true;
                                    });

ScriptCommandRegistrar selectCommand(
    "select", "select all | select ID...  select all top-level art the user can see, or the art with these SVG ids",
    [](ScriptContext& c, const auto& args, std::string& error) {
        Document* d = requireDocument(error);
        if (!d) return false;
        if (args.empty()) {
            error = "expects \"all\" or one or more ids";
            return false;
        }
        size_t count = 0;
        if (args.size() == 1 && args[0] == "all") {
            count = d->selectAll();
        } else {
            for (const std::string& id : args) {
                bool found = false;
                for (ArtNode* a : d->allArt())
                    if (a->name == id) {
                        if (artHidden(a)) {
                            error = "the art with id \"" + id + "\" is hidden: hidden art cannot be selected";
                            return false;
                        }
                        d->setSelected(a, true);
                        found = true;
                        ++count;
                    }
                if (!found) {
                    error = "no art with id \"" + id + "\"";
                    return false;
                }
            }
        }
        c.out << "selected " << count << " object(s)\n";
        return true;
    });

ScriptCommandRegistrar deselectCommand("deselect", "deselect  clear the selection",
                                       [](ScriptContext&, const auto& args, std::string& error) {
                                           Document* d = requireDocument(error);
                                           if (!d) return false;
                                           if (!expectNoArgs(args, error)) return false;
                                           for (LayerNode* l : d->layers()) d->setSelected(l->root, false);
                                           return true;
                                       });

ScriptCommandRegistrar saveCommand("save", "save FILE.svg  save the current document as SVG",
                                   [](ScriptContext& c, const auto& args, std::string& error) {
                                       Document* d = requireDocument(error);
                                       if (!d) return false;
                                       if (!expectOneArg(args, "the SVG file", error)) return false;
                                       if (!writeSvgFile(*d, c.path(args[0]), error)) return false;
                                       d->fileName = c.path(args[0]);
                                       c.out << "saved " << args[0] << "\n";
                                       return true;
                                   });

}  // namespace
}  // namespace vt::host

// "ADM Dialog Suite" and "ADM Dialog Group Suite".
#include <cstring>

#include "ErrorText.h"
#include "Suites/SuiteTables.h"
#include "Toolkit/Toolkit.h"

namespace vt::host::toolkit {
namespace {

Toolkit& tk() { return Toolkit::get(); }

#define DIALOG_OR(ret)                          \
    Dialog* d = tk().dialog(dialog, __func__); \
    if (!d) return ret

ADMDialogRef create(SPPluginRef plugin, const char* name, ASInt32 dialogID, ADMDialogStyle style,
                    ADMDialogInitProc initProc, ADMUserData userData, ASInt32 options)
{
    Dialog* d = tk().createDialog(plugin, name ? name : "", dialogID, style, userData, false);
    if (initProc) {
        ASErr error = initProc(ref(d));
        if (error != kNoErr) {
            tk().report("\"" + d->name + "\": the init procedure failed with error " + errorText(error));
            tk().destroyDialog(d);
            return nullptr;
        }
    }
    tk().updatePass();
    return ref(d);
}

ASInt32 modal(SPPluginRef plugin, const char* name, ASInt32 dialogID, ADMDialogStyle style,
              ADMDialogInitProc initProc, ADMUserData userData, ASInt32 options)
{
    Dialog* d = tk().createDialog(plugin, name ? name : "", dialogID, style, userData, true);
    return tk().runModal(d, initProc);
}

void destroy(ADMDialogRef dialog)
{
    DIALOG_OR();
    if (d->modal && !d->ended) {
        // A modal dialog is freed by its modal loop; destroying it ends it.
        d->ended = true;
        d->cancelled = true;
        d->result = d->cancelItem ? d->cancelItem : 2;
        return;
    }
    tk().destroyDialog(d);
}

void endModal(ADMDialogRef dialog, ASInt32 modalResult, ASBoolean cancelling)
{
    DIALOG_OR();
    if (!d->modal) {
        tk().report("EndModal on the floating dialog \"" + d->name + "\" is ignored");
        return;
    }
    if (d->ended) return;
    d->ended = true;
    d->result = modalResult;
    d->cancelled = cancelling != 0;
}

SPPluginRef getPluginRef(ADMDialogRef dialog)
{
    DIALOG_OR(nullptr);
    return d->plugin;
}
const char* getDialogName(ADMDialogRef dialog)
{
    DIALOG_OR(nullptr);
    return d->name.c_str();
}
ADMDialogStyle getDialogStyle(ADMDialogRef dialog)
{
    DIALOG_OR(0);
    return d->style;
}
ADMUserData getUserData(ADMDialogRef dialog)
{
    DIALOG_OR(nullptr);
    return d->userData;
}
void setUserData(ADMDialogRef dialog, ADMUserData data)
{
    DIALOG_OR();
    d->userData = data;
}
void setText(ADMDialogRef dialog, const char* text)
{
    DIALOG_OR();
    d->title = text ? text : "";
}
void getText(ADMDialogRef dialog, char* text, ASInt32 maxLength)
{
    DIALOG_OR();
    copyText(d->title, text, maxLength);
}
void show(ADMDialogRef dialog, ASBoolean on)
{
    DIALOG_OR();
    d->visible = on != 0;
}
ASBoolean isVisible(ADMDialogRef dialog)
{
    DIALOG_OR(false);
    return d->visible;
}
void enable(ADMDialogRef dialog, ASBoolean on)
{
    DIALOG_OR();
    d->enabled = on != 0;
}
ASBoolean isEnabled(ADMDialogRef dialog)
{
    DIALOG_OR(false);
    return d->enabled;
}
void getBoundsRect(ADMDialogRef dialog, ADMRect* bounds)
{
    DIALOG_OR();
    if (bounds) *bounds = d->bounds;
}
void setBoundsRect(ADMDialogRef dialog, const ADMRect* bounds)
{
    DIALOG_OR();
    if (bounds) tk().setBounds(d, *bounds, true);
}
void getLocalRect(ADMDialogRef dialog, ADMRect* rect)
{
    DIALOG_OR();
    if (rect) *rect = ADMRect{0, 0, static_cast<ASInt16>(d->height()), static_cast<ASInt16>(d->width())};
}
void move(ADMDialogRef dialog, ASInt32 h, ASInt32 v)
{
    DIALOG_OR();
    ADMRect b{static_cast<ASInt16>(v), static_cast<ASInt16>(h), static_cast<ASInt16>(v + d->height()),
              static_cast<ASInt16>(h + d->width())};
    tk().setBounds(d, b, true);
}
void setSize(ADMDialogRef dialog, ASInt32 width, ASInt32 height)
{
    DIALOG_OR();
    ADMRect b = d->bounds;
    b.right = static_cast<ASInt16>(b.left + width);
    b.bottom = static_cast<ASInt16>(b.top + height);
    tk().setBounds(d, b, true);
}
void setMinWidth(ADMDialogRef dialog, ASInt32 v)
{
    DIALOG_OR();
    d->minWidth = v;
}
void setMinHeight(ADMDialogRef dialog, ASInt32 v)
{
    DIALOG_OR();
    d->minHeight = v;
}
void setMaxWidth(ADMDialogRef dialog, ASInt32 v)
{
    DIALOG_OR();
    d->maxWidth = v;
}
void setMaxHeight(ADMDialogRef dialog, ASInt32 v)
{
    DIALOG_OR();
    d->maxHeight = v;
}
void setHorizontalIncrement(ADMDialogRef dialog, ASInt32 v)
{
    DIALOG_OR();
    d->horizontalIncrement = v > 0 ? v : 1;
}
void setVerticalIncrement(ADMDialogRef dialog, ASInt32 v)
{
    DIALOG_OR();
    d->verticalIncrement = v > 0 ? v : 1;
}
ASInt32 getMinWidth(ADMDialogRef dialog)
{
    DIALOG_OR(0);
    return d->minWidth;
}
ASInt32 getMinHeight(ADMDialogRef dialog)
{
    DIALOG_OR(0);
    return d->minHeight;
}
ASInt32 getHorizontalIncrement(ADMDialogRef dialog)
{
    DIALOG_OR(0);
    return d->horizontalIncrement;
}
ASInt32 getVerticalIncrement(ADMDialogRef dialog)
{
    DIALOG_OR(0);
    return d->verticalIncrement;
}
void setDrawProc(ADMDialogRef dialog, ADMDialogDrawProc p)
{
    DIALOG_OR();
    d->drawProc = p;
}
void setTrackProc(ADMDialogRef dialog, ADMDialogTrackProc p)
{
    DIALOG_OR();
    d->trackProc = p;
}
void setNotifyProc(ADMDialogRef dialog, ADMDialogNotifyProc p)
{
    DIALOG_OR();
    d->notifyProc = p;
}
void setDestroyProc(ADMDialogRef dialog, ADMDialogDestroyProc p)
{
    DIALOG_OR();
    d->destroyProc = p;
}
ADMDialogDrawProc getDrawProc(ADMDialogRef dialog)
{
    DIALOG_OR(nullptr);
    return d->drawProc;
}
ADMDialogTrackProc getTrackProc(ADMDialogRef dialog)
{
    DIALOG_OR(nullptr);
    return d->trackProc;
}
ADMDialogNotifyProc getNotifyProc(ADMDialogRef dialog)
{
    DIALOG_OR(nullptr);
    return d->notifyProc;
}
ADMDialogDestroyProc getDestroyProc(ADMDialogRef dialog)
{
    DIALOG_OR(nullptr);
    return d->destroyProc;
}
void setMask(ADMDialogRef dialog, ADMActionMask mask)
{
    DIALOG_OR();
    d->mask = mask;
}
ADMActionMask getMask(ADMDialogRef dialog)
{
    DIALOG_OR(0);
    return d->mask;
}
void defaultDraw(ADMDialogRef dialog, ADMDrawerRef drawer) { DIALOG_OR(); }
ASBoolean defaultTrack(ADMDialogRef dialog, ADMTrackerRef tracker)
{
    DIALOG_OR(false);
    return false;
}
void defaultNotify(ADMDialogRef dialog, ADMNotifierRef notifier) { DIALOG_OR(); }
void sendNotify(ADMDialogRef dialog, const char* type)
{
    DIALOG_OR();
    tk().notify(d, type ? type : "");
}
ADMItemRef getItem(ADMDialogRef dialog, ASInt32 itemID)
{
    DIALOG_OR(nullptr);
    Item* i = d->item(itemID);
    return i ? ref(i) : nullptr;
}
void setDefaultItemID(ADMDialogRef dialog, ASInt32 id)
{
    DIALOG_OR();
    d->defaultItem = id;
}
ASInt32 getDefaultItemID(ADMDialogRef dialog)
{
    DIALOG_OR(0);
    return d->defaultItem;
}
void setCancelItemID(ADMDialogRef dialog, ASInt32 id)
{
    DIALOG_OR();
    d->cancelItem = id;
}
ASInt32 getCancelItemID(ADMDialogRef dialog)
{
    DIALOG_OR(0);
    return d->cancelItem;
}
void invalidate(ADMDialogRef dialog)
{
    DIALOG_OR();
    for (auto& i : d->items) tk().invalidate(i.get());
}
void update(ADMDialogRef dialog)
{
    DIALOG_OR();
    for (size_t i = 0; i < d->items.size(); ++i) {
        Item* item = d->items[i].get();
        if (item->visible && item->invalid) tk().draw(item);
    }
}

ASErr getDialogGroupInfo(ADMDialogRef dialog, const char** groupName, ASInt32* positionCode)
{
    DIALOG_OR(kBadParameterErr);
    if (groupName) *groupName = d->hasGroup ? d->groupName.c_str() : nullptr;
    if (positionCode) *positionCode = d->positionCode;
    return kNoErr;
}

ASErr setDialogGroupInfo(ADMDialogRef dialog, const char* groupName, ASInt32 positionCode)
{
    DIALOG_OR(kBadParameterErr);
    d->hasGroup = groupName != nullptr;
    d->groupName = groupName ? groupName : "";
    d->positionCode = positionCode;
    return kNoErr;
}

SuiteInstaller installer([] {
    auto& s = suiteTable<ADMDialogSuite>();
    s.Create = create;
    s.Modal = modal;
    s.Destroy = destroy;
    s.EndModal = endModal;
    s.GetPluginRef = getPluginRef;
    s.GetDialogName = getDialogName;
    s.GetDialogStyle = getDialogStyle;
    s.GetUserData = getUserData;
    s.SetUserData = setUserData;
    s.SetText = setText;
    s.GetText = getText;
    s.Show = show;
    s.IsVisible = isVisible;
    s.Enable = enable;
    s.IsEnabled = isEnabled;
    s.GetBoundsRect = getBoundsRect;
    s.SetBoundsRect = setBoundsRect;
    s.GetLocalRect = getLocalRect;
    s.Move = move;
    s.SetSize = setSize;
    s.SetMinWidth = setMinWidth;
    s.SetMinHeight = setMinHeight;
    s.SetMaxWidth = setMaxWidth;
    s.SetMaxHeight = setMaxHeight;
    s.SetHorizontalIncrement = setHorizontalIncrement;
    s.SetVerticalIncrement = setVerticalIncrement;
    s.GetMinWidth = getMinWidth;
    s.GetMinHeight = getMinHeight;
    s.GetHorizontalIncrement = getHorizontalIncrement;
    s.GetVerticalIncrement = getVerticalIncrement;
    s.SetDrawProc = setDrawProc;
    s.SetTrackProc = setTrackProc;
    s.SetNotifyProc = setNotifyProc;
    s.SetDestroyProc = setDestroyProc;
    s.GetDrawProc = getDrawProc;
    s.GetTrackProc = getTrackProc;
    s.GetNotifyProc = getNotifyProc;
    s.GetDestroyProc = getDestroyProc;
    s.SetMask = setMask;
    s.GetMask = getMask;
    s.DefaultDraw = defaultDraw;
    s.DefaultTrack = defaultTrack;
    s.DefaultNotify = defaultNotify;
    s.SendNotify = sendNotify;
    s.GetItem = getItem;
    s.SetDefaultItemID = setDefaultItemID;
    s.GetDefaultItemID = getDefaultItemID;
    s.SetCancelItemID = setCancelItemID;
    s.GetCancelItemID = getCancelItemID;
    s.Invalidate = invalidate;
    s.Update = update;

    auto& g = suiteTable<ADMDialogGroupSuite>();
    g.GetDialogGroupInfo = getDialogGroupInfo;
    g.SetDialogGroupInfo = setDialogGroupInfo;
});

}  // namespace
}  // namespace vt::host::toolkit

// The dot-cut dialog and its helpers.
#include "Dialog/DotCutDialog.h"

#include "Common/Suites.h"

ASInt32 GetSelectedEntryID(ADMItemRef listItem)
{
    if (listItem == nullptr) return -1;
    ADMListRef list = sADMItem->GetList(listItem);
    if (list == nullptr) return -1;
    ADMEntryRef entry = sADMList->GetActiveEntry(list);
    if (entry == nullptr) return -1;
    return sADMEntry->GetID(entry);
}

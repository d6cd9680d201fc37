#include "clsModuleList.h"

void clsModuleList::Insert(DBGModuleItem* item)
{
    size_t i = 0;
    while (i < Count() && At(i)->qwModuleBase <= item->qwModuleBase)
        i++;
    InsertAt(i, item);
}

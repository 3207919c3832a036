// The deferred free of skin objects.
#include "SkinObject.h"

void TSkinObject::FreeDeferred()
{
    if (FLife->Busy > 0) {
        FLife->FreePending = true;
        return;
    }
    delete this;
}

TSkinObject::THandlerScope::~THandlerScope()
{
    if (--FLife->Busy > 0 || !FLife->FreePending || FLife->Object == nullptr) return;
    FLife->FreePending = false;
    delete FLife->Object;
}

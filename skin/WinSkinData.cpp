// TSkinData: published properties and registration.
#include "WinSkinData.h"

#include "classlib/portable/TypInfo.h"

const TClassInfo& TSkinData::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TSkinData>("TSkinData", TComponent::StaticClassInfo())
                                       .Creatable()
                                       .Boolean("Active", &TSkinData::Active, &TSkinData::SetActive)
                                       .Build();
    return info;
}

TSkinData::TSkinData(TComponent* AOwner) : TComponent(AOwner) {}

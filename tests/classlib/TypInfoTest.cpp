#include "classlib/portable/SysUtils.h"
#include "classlib/portable/TypInfo.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

enum class TShape { shCircle, shSquare, shTriangle };
const TEnumInfo kShapeInfo("TShape", {"shCircle", "shSquare", "shTriangle"});

using TKeyEvent = std::function<void(TObject* Sender, char& Key)>;

class TSample : public TComponent {
public:
    DECLARE_CLASS_INFO()
    using TComponent::TComponent;

    int32_t Width() const { return FWidth; }
    void SetWidth(int32_t v) { FWidth = v; ++Sets; }
    uint16_t Limit() const { return FLimit; }
    void SetLimit(uint16_t v) { FLimit = v; }
    uint32_t Rate() const { return FRate; }
    void SetRate(uint32_t v) { FRate = v; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool v) { FVisible = v; }
    TShape Shape() const { return FShape; }
    void SetShape(TShape v) { FShape = v; }
    uint32_t Shapes() const { return FShapes; }
    void SetShapes(uint32_t v) { FShapes = v; }
    char Letter() const { return FLetter; }
    void SetLetter(char v) { FLetter = v; }
    const TBytes& Data() const { return FData; }
    void SetData(const TBytes& v) { FData = v; }
    TComponent* Child() const { return FChild; }

    std::string Caption;
    TNotifyEvent OnClick;
    TKeyEvent OnKeyPress;
    TComponent* FChild = nullptr;
    int Sets = 0;
    int Clicks = 0;

    void ButtonClick(TObject*) { ++Clicks; }
    void KeyPress(TObject*, char& key) { key = 0; }

private:
    int32_t FWidth = 0;
    uint16_t FLimit = 0;
    uint32_t FRate = 0;
    bool FVisible = false;
    TShape FShape = TShape::shCircle;
    uint32_t FShapes = 0;
    char FLetter = 0;
    TBytes FData;
};

const TClassInfo& TSample::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TSample>("TSample", TComponent::StaticClassInfo())
                                       .Creatable()
                                       .Integer("Width", &TSample::Width, &TSample::SetWidth)
                                       .Integer("Limit", &TSample::Limit, &TSample::SetLimit)
                                       .Integer("Rate", &TSample::Rate, &TSample::SetRate)
                                       .Boolean("Visible", &TSample::Visible, &TSample::SetVisible)
                                       .Enumeration("Shape", kShapeInfo, &TSample::Shape, &TSample::SetShape)
                                       .SetOf("Shapes", kShapeInfo, &TSample::Shapes, &TSample::SetShapes)
                                       .Char("Letter", &TSample::Letter, &TSample::SetLetter)
                                       .String("Caption", &TSample::Caption, &TSample::Caption)
                                       .Binary("Data", &TSample::Data, &TSample::SetData)
                                       .Object("Child", &TSample::Child)
                                       .Event("OnClick", &TSample::OnClick)
                                       .Event("OnKeyPress", &TSample::OnKeyPress)
                                       .Method("ButtonClick", &TSample::ButtonClick)
                                       .Method("KeyPress", &TSample::KeyPress)
                                       .Build();
    return info;
}

} // namespace

TEST(TypInfo, OrdinalPropertiesByTextAndNumber)
{
    TSample s(nullptr);
    SetPropText(s, "Width", "-12");
    EXPECT_EQ(s.Width(), -12);
    SetPropText(s, "width", "$10"); // names compare without case
    EXPECT_EQ(s.Width(), 16);
    SetPropText(s, "Rate", "115200");
    EXPECT_EQ(s.Rate(), 115200u);
    SetPropText(s, "Rate", "$FFFFFFFF");
    EXPECT_EQ(s.Rate(), 0xFFFFFFFFu);
    SetPropText(s, "Width", "$FF00000F"); // signed: the bit pattern
    EXPECT_EQ(s.Width(), static_cast<int32_t>(0xFF00000F));
    SetOrdProp(s, "Limit", 65535);
    EXPECT_EQ(GetPropText(s, "Limit"), "65535");
}

TEST(TypInfo, ValuesOutOfRangeAreRefusedNotTruncated)
{
    TSample s(nullptr);
    s.SetLimit(500);
    EXPECT_THROW(SetPropText(s, "Limit", "65536"), EPropertyError);
    EXPECT_THROW(SetPropText(s, "Limit", "-1"), EPropertyError);
    EXPECT_THROW(SetOrdProp(s, "Shape", 3), EPropertyError);
    EXPECT_THROW(SetOrdProp(s, "Shapes", 8), EPropertyError);
    EXPECT_THROW(SetPropText(s, "Rate", "4294967296"), EPropertyError);
    EXPECT_THROW(SetPropText(s, "Width", "12px"), EPropertyError);
    EXPECT_EQ(s.Limit(), 500);
}

TEST(TypInfo, EnumerationsBooleansAndSetsByValueName)
{
    TSample s(nullptr);
    SetPropText(s, "Shape", "shtriangle");
    EXPECT_EQ(s.Shape(), TShape::shTriangle);
    EXPECT_EQ(GetEnumProp(s, "Shape"), "shTriangle");
    SetPropText(s, "Visible", "True");
    EXPECT_TRUE(s.Visible());
    EXPECT_EQ(GetPropText(s, "Visible"), "True");
    SetSetProp(s, "Shapes", "[shCircle, shTriangle]");
    EXPECT_EQ(s.Shapes(), 5u);
    EXPECT_EQ(GetSetProp(s, "Shapes"), "[shCircle,shTriangle]");
    SetPropText(s, "Shapes", "[]");
    EXPECT_EQ(s.Shapes(), 0u);
    EXPECT_THROW(SetPropText(s, "Shape", "shHexagon"), EPropertyError);
    EXPECT_THROW(SetPropText(s, "Visible", "yes"), EPropertyError);
    EXPECT_THROW(SetSetProp(s, "Shapes", "shCircle"), EPropertyError);
    EXPECT_THROW(SetSetProp(s, "Shapes", "[shCircle,nope]"), EPropertyError);
}

TEST(TypInfo, CharactersStringsAndBinary)
{
    TSample s(nullptr);
    SetPropText(s, "Letter", "#17");
    EXPECT_EQ(s.Letter(), 0x11);
    EXPECT_EQ(GetPropText(s, "Letter"), "#17");
    SetPropText(s, "Letter", "A");
    EXPECT_EQ(GetPropText(s, "Letter"), "A");
    SetPropText(s, "Letter", "#255");
    EXPECT_EQ(GetOrdProp(s, "Letter"), 255);
    EXPECT_THROW(SetPropText(s, "Letter", "#256"), EPropertyError);
    EXPECT_THROW(SetPropText(s, "Letter", "AB"), EPropertyError);
    SetStrProp(s, "Caption", "\xB4\xF2\xBF\xAA"); // GB2312 bytes pass unchanged
    EXPECT_EQ(s.Caption, "\xB4\xF2\xBF\xAA");
    SetBinaryProp(s, "Data", TBytes{1, 2, 0, 255});
    EXPECT_EQ(GetBinaryProp(s, "Data"), (TBytes{1, 2, 0, 255}));
    EXPECT_THROW(SetPropText(s, "Data", "x"), EPropertyError);
}

TEST(TypInfo, EventsBindToPublishedHandlersByName)
{
    TSample form(nullptr), button(nullptr);
    EXPECT_FALSE(IsMethodAssigned(button, "OnClick"));
    SetMethodProp(button, "OnClick", form, "buttonclick");
    ASSERT_TRUE(IsMethodAssigned(button, "OnClick"));
    button.OnClick(&button);
    EXPECT_EQ(form.Clicks, 1);
    SetMethodProp(button, "OnKeyPress", form, "KeyPress");
    char key = 'x';
    button.OnKeyPress(&button, key);
    EXPECT_EQ(key, 0);
    // A handler with other parameters, or none of that name, is refused.
    EXPECT_THROW(SetMethodProp(button, "OnClick", form, "KeyPress"), EPropertyError);
    EXPECT_THROW(SetMethodProp(button, "OnClick", form, "Nothing"), EPropertyError);
    ClearMethodProp(button, "OnClick");
    EXPECT_FALSE(IsMethodAssigned(button, "OnClick"));
}

TEST(TypInfo, ErrorsNameTheClassAndProperty)
{
    TSample s(nullptr);
    try {
        SetPropText(s, "Widht", "1");
        FAIL();
    } catch (const EPropertyError& e) {
        EXPECT_NE(e.Message().find("TSample.Widht"), std::string::npos) << e.Message();
    }
    EXPECT_THROW(GetStrProp(s, "Width"), EPropertyError);
    EXPECT_THROW(GetOrdProp(s, "Caption"), EPropertyError);
}

TEST(TypInfo, ClassesAreFoundAndCreatedByName)
{
    RegisterComponentClass(TSample::StaticClassInfo());
    const TClassInfo* cls = FindClass("tsample");
    ASSERT_NE(cls, nullptr);
    TComponent owner(nullptr);
    TComponent* made = cls->CreateInstance(&owner);
    EXPECT_EQ(made->ClassName(), "TSample");
    EXPECT_EQ(made->Owner(), &owner);
    EXPECT_EQ(FindClass("TNothing"), nullptr);
    EXPECT_THROW(TComponent::StaticClassInfo().CreateInstance(nullptr), EPropertyError);
    // Inherited properties come first, in declaration order.
    const auto props = cls->Props();
    ASSERT_GE(props.size(), 3u);
    EXPECT_EQ(props[0]->Name, "Name");
    EXPECT_EQ(props[2]->Name, "Width");
}

TEST(TypInfo, ObjectPropertiesExposeSubObjects)
{
    TSample s(nullptr);
    TSample child(nullptr);
    s.FChild = &child;
    TObject* o = GetObjectProp(s, "Child");
    ASSERT_EQ(o, &child);
    SetPropText(*o, "Width", "7");
    EXPECT_EQ(child.Width(), 7);
}

#include "classlib/portable/Description.h"
#include "classlib/portable/DescriptionReader.h"
#include "classlib/portable/StringList.h"
#include "classlib/portable/SysUtils.h"
#include "classlib/portable/TypInfo.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

namespace {

enum class TKind { kdPlain, kdFancy };
const TEnumInfo kKindInfo("TKind", {"kdPlain", "kdFancy"});

std::vector<std::string> gLoadOrder;

class TTestFont : public TPersistent {
public:
    DECLARE_CLASS_INFO()
    int32_t Height = 0;
    std::string Name;
};

class TPart : public TComponent {
public:
    DECLARE_CLASS_INFO()
    explicit TPart(TComponent* AOwner) : TComponent(AOwner) {}
    ~TPart() override { ++Freed; }

    void SetParentComponent(TComponent* AParent) override { ParentSeen = AParent; }
    void Loaded() override
    {
        LoadingWhenLoaded = InState(csLoading);
        gLoadOrder.push_back(Name());
        TComponent::Loaded();
    }

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& v) { FCaption = v; }
    TStringList* Items() const { return FItems.get(); }
    TTestFont* Font() const { return FFont.get(); }
    TPart* Buddy() const { return FBuddy; }
    void SetBuddy(TPart* v) { FBuddy = v; }

    static inline int Freed = 0;
    TComponent* ParentSeen = nullptr;
    bool LoadingWhenLoaded = false;
    int32_t Number = 0;
    uint8_t Small = 0;
    bool Flag = false;
    char Letter = 0;
    TKind Kind = TKind::kdPlain;
    uint32_t Kinds = 0;
    TBytes Data;
    TNotifyEvent OnClick;

private:
    std::string FCaption;
    std::unique_ptr<TStringList> FItems = std::make_unique<TStringList>();
    std::unique_ptr<TTestFont> FFont = std::make_unique<TTestFont>();
    TPart* FBuddy = nullptr;
};

class TTestForm : public TPart {
public:
    DECLARE_CLASS_INFO()
    using TPart::TPart;
    void PartClick(TObject* Sender) { Clicked = Sender; }
    void WrongHandler(TObject*, int) {}

    TPart* Part1 = nullptr;
    TObject* Clicked = nullptr;
};

class TFieldForm : public TTestForm {
public:
    DECLARE_CLASS_INFO()
    using TTestForm::TTestForm;
    TPart* Needed = nullptr;
};

const TClassInfo& TTestFont::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TTestFont>("TTestFont", TPersistent::StaticClassInfo())
                                       .Integer("Height", &TTestFont::Height, &TTestFont::Height)
                                       .String("Name", &TTestFont::Name, &TTestFont::Name)
                                       .Build();
    return info;
}

const TClassInfo& TPart::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TPart>("TPart", TComponent::StaticClassInfo())
                                       .Creatable()
                                       .String("Caption", &TPart::Caption, &TPart::SetCaption)
                                       .Integer("Number", &TPart::Number, &TPart::Number)
                                       .Integer("Small", &TPart::Small, &TPart::Small)
                                       .Boolean("Flag", &TPart::Flag, &TPart::Flag)
                                       .Char("Letter", &TPart::Letter, &TPart::Letter)
                                       .Enumeration("Kind", kKindInfo, &TPart::Kind, &TPart::Kind)
                                       .SetOf("Kinds", kKindInfo, &TPart::Kinds, &TPart::Kinds)
                                       .Binary("Data", &TPart::Data, &TPart::Data)
                                       .Object("Items", &TPart::Items)
                                       .Object("Font", &TPart::Font)
                                       .Component<TPart>("Buddy", &TPart::Buddy, &TPart::SetBuddy)
                                       .Event("OnClick", &TPart::OnClick)
                                       .Build();
    return info;
}

const TClassInfo& TTestForm::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TTestForm>("TTestForm", TPart::StaticClassInfo())
                                       .Field("Part1", &TTestForm::Part1)
                                       .Method("PartClick", &TTestForm::PartClick)
                                       .Method("WrongHandler", &TTestForm::WrongHandler)
                                       .Build();
    return info;
}

const TClassInfo& TFieldForm::StaticClassInfo()
{
    static const TClassInfo info = TClassBuilder<TFieldForm>("TFieldForm", TTestForm::StaticClassInfo())
                                       .Field("Needed", &TFieldForm::Needed)
                                       .Build();
    return info;
}

class TOtherPart : public TComponent {
public:
    DECLARE_CLASS_INFO()
    using TComponent::TComponent;
};

const TClassInfo& TOtherPart::StaticClassInfo()
{
    static const TClassInfo info =
        TClassBuilder<TOtherPart>("TOtherPart", TComponent::StaticClassInfo()).Creatable().Build();
    return info;
}

class Description : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterComponentClass(TPart::StaticClassInfo());
        RegisterComponentClass(TOtherPart::StaticClassInfo());
        RegisterIntConst("clTest", -2147483633);
        TPart::Freed = 0;
        gLoadOrder.clear();
    }
};

const char kGood[] = R"(object Form1: TTestForm
  Number = $FF
  Font.Height = -13
  Font.Name = #203#206#204#229
  Caption = 'It''s '#65 +
    'B'
  object Part1: TPart
    Number = clTest
    Small = 255
    Flag = True
    Letter = 'x'
    Kind = kdFancy
    Kinds = [kdPlain, kdFancy]
    Data = {
      0A1B
      ff}
    Items.Strings = (
      'AUTO'
      'COM1'#58)
    OnClick = PartClick
    Buddy = Part2
    object Part2: TPart
      Kinds = []
      Buddy = Form1
    end
  end
end
)";

} // namespace

TEST_F(Description, EveryValueKindReachesItsProperty)
{
    TTestForm form(nullptr);
    ReadDescription(form, kGood);
    EXPECT_EQ(form.Name(), "Form1");
    EXPECT_EQ(form.Number, 255);
    EXPECT_EQ(form.Font()->Height, -13);
    EXPECT_EQ(form.Font()->Name, "\xcb\xce\xcc\xe5");
    EXPECT_EQ(form.Caption(), "It's AB");
    ASSERT_NE(form.Part1, nullptr);
    TPart& p = *form.Part1;
    EXPECT_EQ(p.Owner(), &form);
    EXPECT_EQ(p.Number, -2147483633);
    EXPECT_EQ(p.Small, 255);
    EXPECT_TRUE(p.Flag);
    EXPECT_EQ(p.Letter, 'x');
    EXPECT_EQ(p.Kind, TKind::kdFancy);
    EXPECT_EQ(p.Kinds, 3u);
    EXPECT_EQ(p.Data, (TBytes{0x0A, 0x1B, 0xFF}));
    EXPECT_EQ(p.Items()->ToVector(), (std::vector<std::string>{"AUTO", "COM1:"}));
    ASSERT_TRUE(p.OnClick);
    p.OnClick(&p);
    EXPECT_EQ(form.Clicked, &p);
}

TEST_F(Description, NestingOwnershipReferencesAndLoadOrder)
{
    TTestForm form(nullptr);
    ReadDescription(form, kGood);
    auto* part2 = static_cast<TPart*>(form.FindComponent("Part2"));
    ASSERT_NE(part2, nullptr);
    EXPECT_EQ(part2->Owner(), &form);
    EXPECT_EQ(form.ComponentCount(), 2);
    EXPECT_EQ(form.Part1->ParentSeen, &form);
    EXPECT_EQ(part2->ParentSeen, form.Part1);
    EXPECT_EQ(form.Part1->Buddy(), part2);  // forward reference
    EXPECT_EQ(part2->Buddy(), &form);       // the root by its name
    EXPECT_EQ(gLoadOrder, (std::vector<std::string>{"Part1", "Part2", "Form1"}));
    EXPECT_TRUE(part2->LoadingWhenLoaded);
    EXPECT_FALSE(part2->InState(csLoading));
    EXPECT_FALSE(form.InState(csLoading));
}

TEST_F(Description, MalformedDescriptionsNameLineObjectAndPropertyAndLeaveNothing)
{
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"object F: TTestForm\n object P: TNoSuch\n end\nend", "line 2: P: unknown class TNoSuch"},
        {"object F: TTestForm\n object Part1: TPart\n  Colour = 1\n end\nend", "line 3: Part1.Colour: unknown property"},
        {"object F: TTestForm\n object Part1: TPart\n  Font.Size = 1\n end\nend", "line 3: Part1.Font.Size: unknown property"},
        {"object F: TTestForm\n object Part1: TPart\n  OnClick = Nope\n end\nend", "line 3: Part1.OnClick: "},
        {"object F: TTestForm\n object Part1: TPart\n  OnClick = WrongHandler\n end\nend", "line 3: Part1.OnClick: "},
        {"object F: TTestForm\n object Part1: TPart\n  Small = 256\n end\nend", "line 3: Part1.Small: "},
        {"object F: TTestForm\n object Part1: TPart\n  Kind = kdOther\n end\nend", "line 3: Part1.Kind: "},
        {"object F: TTestForm\n object Part1: TPart\n  Kinds = [kdOther]\n end\nend", "line 3: Part1.Kinds: "},
        {"object F: TTestForm\n object Part1: TPart\n  Flag = 1\n end\nend", "line 3: Part1.Flag: expected a value name"},
        {"object F: TTestForm\n object Part1: TPart\n  Number = 'x'\n end\nend", "line 3: Part1.Number: expected a number"},
        {"object F: TTestForm\n object Part1: TPart\n  Number = clNoSuch\n end\nend", "line 3: Part1.Number: unknown constant clNoSuch"},
        {"object F: TTestForm\n object Part1: TPart\n  Letter = 'xy'\n end\nend", "line 3: Part1.Letter: expected one character"},
        {"object F: TTestForm\n object Part1: TPart\n  Data = 'x'\n end\nend", "line 3: Part1.Data: expected binary data"},
        {"object F: TTestForm\n object Part1: TPart\n  Font = 1\n end\nend", "line 3: Part1.Font: is an object"},
        {"object F: TTestForm\n object Part1: TPart\n  Buddy = Ghost\n end\nend", "line 3: Part1.Buddy: no component named Ghost"},
        {"object F: TTestForm\n object Part1: TPart\n end\n object Part1: TPart\n end\nend", "line 4: Part1: "},
        {"object F: TTestForm\n object P: TPart\n end\nend", "line 1: F: no component for the field Part1"},
        {"object F: TOther\nend", "line 1: F: the description is of class TOther"},
        {"object F: TFieldForm\n object Part1: TPart\n end\n object Needed: TOtherPart\n end\nend",
         "line 4: Needed: the field Needed is of class TPart, not TOtherPart"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        TPart::Freed = 0;
        TFieldForm form(nullptr);
        try {
            ReadDescription(form, c.text);
            ADD_FAILURE() << "no error";
        } catch (const EReadError& e) {
            EXPECT_EQ(e.Message().rfind(c.message, 0), 0u) << e.Message();
        }
        EXPECT_EQ(form.ComponentCount(), 0);
        EXPECT_EQ(form.Part1, nullptr);
        EXPECT_EQ(form.Needed, nullptr);
        EXPECT_FALSE(form.InState(csLoading));
    }
}

TEST_F(Description, OnlyHexadecimalNumbersFillTheSignBitOfA32BitProperty)
{
    struct Case {
        const char* value;
        bool ok;
        int32_t number;
    };
    const Case cases[] = {
        {"$FFFFFFFF", true, -1},
        {"$80000000", true, INT32_MIN},
        {"$7FFFFFFF", true, INT32_MAX},
        {"2147483647", true, INT32_MAX},
        {"-2147483648", true, INT32_MIN},
        {"4294967295", false, 0},
        {"2147483648", false, 0},
        {"$100000000", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        TTestForm form(nullptr);
        const std::string text =
            std::string("object F: TTestForm\n object Part1: TPart\n  Number = ") + c.value + "\n end\nend";
        if (c.ok) {
            ReadDescription(form, text);
            EXPECT_EQ(form.Part1->Number, c.number);
        } else {
            EXPECT_THROW(ReadDescription(form, text), EReadError);
        }
    }
    EXPECT_TRUE(ParseDescription("object F: TX\n  A = $10\nend").Props[0].Value.Hex);
    EXPECT_FALSE(ParseDescription("object F: TX\n  A = 10\nend").Props[0].Value.Hex);
}

TEST(DescriptionParser, SyntaxErrorsCarryTheirLine)
{
    struct Case {
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {"", "line 1: expected 'object'"},
        {"object F TX\nend", "line 1: expected ':'"},
        {"object F: TX\n  A = 'open\nend", "line 2: unterminated string"},
        {"object F: TX\n  A = #300\nend", "line 2: character code above 255"},
        {"object F: TX\n  A = { 0A1 }\nend", "line 2: A: binary data must be pairs"},
        {"object F: TX\n  A = ( 'a' 1 )\nend", "line 2: A: a list holds strings only"},
        {"object F: TX\n  A = $1FFFFFFFF\nend", "line 2: malformed or too large number"},
        {"object F: TX\n  A = 12ab\nend", "line 2: malformed number"},
        {"object F: TX\n  A = 'x' +\nend", "line 3: expected a string"},
        {"object F: TX\n  A = [a b]\nend", "line 2: expected ']'"},
        {"object F: TX\n  A = 1\n", "line 3: missing 'end' of object F"},
        {"object F: TX\nend\nextra", "line 3: text after the final 'end'"},
        {"object F: TX\n  A = ]\nend", "line 2: A: expected a value"},
        {"object F: TX\n  A. = 1\nend", "line 2: expected a property name after '.'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            ParseDescription(c.text);
            ADD_FAILURE() << "no error";
        } catch (const EReadError& e) {
            EXPECT_EQ(e.Message().rfind(c.message, 0), 0u) << e.Message();
        }
    }
}

TEST(DescriptionParser, DeepNestingIsRefusedNotRecursedInto)
{
    std::string text;
    for (int i = 0; i < 10000; ++i) text += "object A: B\n";
    EXPECT_THROW(ParseDescription(text), EReadError);
}

TEST(DescriptionParser, TreeKeepsOrderLinesAndValues)
{
    const TDescObject root = ParseDescription(
        "OBJECT F: TX\n  Width = -5\n  Name.Sub = Ident\n  object C: TY\n  END\n  After = ''\nend");
    EXPECT_EQ(root.Name, "F");
    ASSERT_EQ(root.Props.size(), 3u);
    EXPECT_EQ(root.Props[0].Value.Int, -5);
    EXPECT_EQ(root.Props[1].Name, "Name.Sub");
    EXPECT_EQ(root.Props[1].Value.Kind, TDescValueKind::Ident);
    EXPECT_EQ(root.Props[2].Line, 6);
    EXPECT_EQ(root.Props[2].Value.Kind, TDescValueKind::String);
    EXPECT_EQ(root.Props[2].Value.Text, "");
    ASSERT_EQ(root.Children.size(), 1u);
    EXPECT_EQ(root.Children[0].ClassName, "TY");
    EXPECT_EQ(root.Children[0].Line, 4);
}

TEST(StringList, TextSplitsEveryLineBreakAndIndexesAreChecked)
{
    TStringList list;
    list.SetText("a\r\nb\nc\rd");
    EXPECT_EQ(list.ToVector(), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(list.Text(), "a\r\nb\r\nc\r\nd\r\n");
    EXPECT_EQ(list.IndexOf("c"), 2);
    EXPECT_EQ(list.IndexOf("C"), -1);
    list.Put(0, "z");
    list.Delete(1);
    EXPECT_EQ(list.ToVector(), (std::vector<std::string>{"z", "c", "d"}));
    EXPECT_THROW(list.Get(3), EListError);
    EXPECT_THROW(list.Insert(4, "x"), EListError);
    EXPECT_THROW(list.Delete(-1), EListError);
    list.Insert(3, "e");
    EXPECT_EQ(list.Count(), 4);
}

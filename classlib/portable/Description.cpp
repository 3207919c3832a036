#include "Description.h"

#include "SysUtils.h"

namespace {

bool IsIdentStart(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads the text through a cursor; every error names the line it is on.
class TParser {
public:
    explicit TParser(std::string_view text) : FText(text) {}

    TDescObject ParseRoot()
    {
        SkipBlanks();
        TDescObject root = ParseObject(1);
        SkipBlanks();
        if (!AtEnd()) Fail("text after the final 'end'");
        return root;
    }

private:
    [[noreturn]] void Fail(const std::string& what) const
    {
        throw EReadError("line " + std::to_string(FLine) + ": " + what);
    }

    bool AtEnd() const { return FPos >= FText.size(); }
    char Peek(size_t ahead = 0) const { return FPos + ahead < FText.size() ? FText[FPos + ahead] : '\0'; }

    void SkipBlanks()
    {
        while (!AtEnd()) {
            const char c = FText[FPos];
            if (c == '\n') ++FLine;
            else if (c != ' ' && c != '\t' && c != '\r') return;
            ++FPos;
        }
    }

    std::string Ident(const char* what)
    {
        SkipBlanks();
        if (!IsIdentStart(Peek())) Fail(std::string("expected ") + what);
        const size_t start = FPos;
        while (IsIdentStart(Peek()) || IsDigit(Peek())) ++FPos;
        return std::string(FText.substr(start, FPos - start));
    }

    void Expect(char c)
    {
        SkipBlanks();
        if (Peek() != c) Fail(std::string("expected '") + c + "'");
        ++FPos;
    }

    // True when the next word is `word` (any case) as a whole identifier.
    bool NextWordIs(std::string_view word)
    {
        SkipBlanks();
        if (FText.size() - FPos < word.size()) return false;
        if (!SameText(FText.substr(FPos, word.size()), word)) return false;
        const char after = Peek(word.size());
        return !(IsIdentStart(after) || IsDigit(after));
    }

    TDescObject ParseObject(int depth)
    {
        if (depth > kMaxDescriptionDepth) Fail("objects nested too deeply");
        if (!NextWordIs("object")) Fail("expected 'object'");
        TDescObject obj;
        obj.Line = FLine;
        FPos += 6;
        obj.Name = Ident("an object name");
        Expect(':');
        obj.ClassName = Ident("a class name");
        for (;;) {
            if (NextWordIs("end")) {
                FPos += 3;
                return obj;
            }
            if (AtEnd()) Fail("missing 'end' of object " + obj.Name);
            if (NextWordIs("object")) {
                obj.Children.push_back(ParseObject(depth + 1));
                continue;
            }
            obj.Props.push_back(ParseProperty());
        }
    }

    TDescProperty ParseProperty()
    {
        TDescProperty prop;
        SkipBlanks();
        prop.Line = FLine;
        prop.Name = Ident("a property name");
        while (Peek() == '.') {
            ++FPos;
            if (!IsIdentStart(Peek())) Fail("expected a property name after '.'");
            prop.Name += '.' + Ident("a property name");
        }
        Expect('=');
        prop.Value = ParseValue(prop.Name);
        return prop;
    }

    TDescValue ParseValue(const std::string& name)
    {
        SkipBlanks();
        TDescValue v;
        const char c = Peek();
        if (c == '-' || c == '$' || IsDigit(c)) {
            v.Kind = TDescValueKind::Integer;
            v.Hex = Peek() == '$' || (c == '-' && Peek(1) == '$');
            v.Int = ParseInteger();
        } else if (c == '\'' || c == '#') {
            v.Kind = TDescValueKind::String;
            v.Text = ParseString();
        } else if (IsIdentStart(c)) {
            v.Kind = TDescValueKind::Ident;
            v.Text = Ident("a value");
        } else if (c == '[') {
            v.Kind = TDescValueKind::Set;
            ++FPos;
            SkipBlanks();
            if (Peek() != ']') {
                for (;;) {
                    v.Items.push_back(Ident("a set element"));
                    SkipBlanks();
                    if (Peek() == ',') {
                        ++FPos;
                        continue;
                    }
                    break;
                }
            }
            Expect(']');
        } else if (c == '(') {
            v.Kind = TDescValueKind::List;
            ++FPos;
            for (;;) {
                SkipBlanks();
                if (Peek() == ')') break;
                if (Peek() != '\'' && Peek() != '#') Fail(name + ": a list holds strings only");
                v.Items.push_back(ParseString());
            }
            ++FPos;
        } else if (c == '{') {
            v.Kind = TDescValueKind::Binary;
            ++FPos;
            for (;;) {
                SkipBlanks();
                if (Peek() == '}') break;
                const int hi = HexDigit(Peek());
                const int lo = HexDigit(Peek(1));
                if (hi < 0 || lo < 0) Fail(name + ": binary data must be pairs of hexadecimal digits");
                v.Bytes.push_back(static_cast<uint8_t>(hi << 4 | lo));
                FPos += 2;
            }
            ++FPos;
        } else {
            Fail(name + ": expected a value");
        }
        return v;
    }

    int64_t ParseInteger()
    {
        const size_t start = FPos;
        if (Peek() == '-') ++FPos;
        if (Peek() == '$') {
            ++FPos;
            while (HexDigit(Peek()) >= 0) ++FPos;
        } else {
            while (IsDigit(Peek())) ++FPos;
        }
        if (IsIdentStart(Peek()) || IsDigit(Peek())) Fail("malformed number");
        int64_t value;
        if (!TryStrToInt64(FText.substr(start, FPos - start), value)) Fail("malformed or too large number");
        return value;
    }

    // Quoted parts and #nnn bytes joined without blanks; '+' joins the next
    // piece, which may start on the following line.
    std::string ParseString()
    {
        std::string out;
        for (;;) {
            bool any = false;
            for (;;) {
                if (Peek() == '\'') {
                    ++FPos;
                    for (;;) {
                        if (AtEnd() || Peek() == '\n' || Peek() == '\r') Fail("unterminated string");
                        if (Peek() == '\'') {
                            if (Peek(1) != '\'') break;
                            ++FPos;
                        }
                        out += FText[FPos++];
                    }
                    ++FPos;
                } else if (Peek() == '#') {
                    ++FPos;
                    if (!IsDigit(Peek())) Fail("expected a character code after '#'");
                    int code = 0;
                    while (IsDigit(Peek())) {
                        code = code * 10 + (FText[FPos++] - '0');
                        if (code > 255) Fail("character code above 255");
                    }
                    out += static_cast<char>(code);
                } else {
                    break;
                }
                any = true;
            }
            if (!any) Fail("expected a string");
            SkipBlanks();
            if (Peek() != '+') return out;
            ++FPos;
            SkipBlanks();
        }
    }

    std::string_view FText;
    size_t FPos = 0;
    int FLine = 1;
};

} // namespace

TDescObject ParseDescription(std::string_view text)
{
    return TParser(text).ParseRoot();
}

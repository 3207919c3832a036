// The text form of a stored description, parsed into a tree of objects with
// their property values in order. Parsing checks syntax only; what the names
// mean is the reader's business (DescriptionReader.h). Texts stay 8-bit.
#pragma once

#include "TypInfo.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

enum class TDescValueKind {
    Integer,    // 12, -13, $FF
    Ident,      // alClient, True, clBtnFace, BitBtn1Click, TabSheet1
    String,     // 'a''b'#13'c' (+ continues on the next line); #nnn is one byte
    Set,        // [akLeft, akTop]
    List,       // ( 'a' 'b' ) - string items only
    Binary,     // { 0A1B ... }
};

struct TDescValue {
    TDescValueKind Kind = TDescValueKind::Integer;
    int64_t Int = 0;
    bool Hex = false;                // the Integer was written in hexadecimal
    std::string Text;                // Ident or String
    std::vector<std::string> Items;  // Set (identifiers) or List (strings)
    TBytes Bytes;                    // Binary
};

struct TDescProperty {
    std::string Name;  // may be dotted: Font.Height, Items.Strings
    int Line = 0;
    TDescValue Value;
};

struct TDescObject {
    std::string Name;
    std::string ClassName;
    int Line = 0;
    std::vector<TDescProperty> Props;
    std::vector<TDescObject> Children;
};

// Raises EReadError "line N: what is wrong" for malformed text. Nesting is
// limited (kMaxDescriptionDepth) so hostile input cannot exhaust the stack.
constexpr int kMaxDescriptionDepth = 64;
TDescObject ParseDescription(std::string_view text);

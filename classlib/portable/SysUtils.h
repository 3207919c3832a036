// Exception types of the class library and the few text/number conversions
// the components need. Texts are 8-bit strings in code page 936 (GB2312);
// they become UTF-16 only where they reach a window.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : FMessage(std::move(message)) {}
    const std::string& Message() const noexcept { return FMessage; }
    const char* what() const noexcept override { return FMessage.c_str(); }

private:
    std::string FMessage;
};

// A text that is not a number of the expected form.
class EConvertError : public Exception {
    using Exception::Exception;
};

// An index outside the range of what it indexes.
class ERangeError : public Exception { using Exception::Exception; };

// A property that does not exist or a value it cannot take.
class EPropertyError : public Exception {
    using Exception::Exception;
};

// Ownership and naming of components (duplicate or invalid names).
class EComponentError : public Exception {
    using Exception::Exception;
};

// A stored description that cannot be read.
class EReadError : public Exception {
    using Exception::Exception;
};

// An operating-system call that failed; keeps the error code it reported.
class EOSError : public Exception {
public:
    EOSError(std::string message, unsigned long code) : Exception(std::move(message)), FErrorCode(code) {}
    unsigned long ErrorCode() const noexcept { return FErrorCode; }

private:
    unsigned long FErrorCode;
};

// A thread that could not be created or waited for.
class EThread : public EOSError {
    using EOSError::EOSError;
};

// A window or other system resource that could not be made.
class EOutOfResources : public EOSError {
    using EOSError::EOSError;
};

// Decimal text to an integer; leading/trailing blanks allowed, an optional sign,
// "$" or "0x" for hexadecimal as the class library accepts. Raises EConvertError.
int32_t StrToInt(std::string_view text);
// Decimal or hexadecimal text of at most 32 bits of magnitude, without the
// wrap-around of StrToInt; `hex` tells which form it was.
bool TryStrToInt64(std::string_view text, int64_t& value, bool* hex = nullptr);
// Like StrToInt but returns `fallback` instead of raising.
int32_t StrToIntDef(std::string_view text, int32_t fallback);
// Upper-case hexadecimal with at least `digits` digits (255, 2 -> "FF").
std::string IntToHex(int64_t value, int digits);
// Compares ASCII letters without regard to case; other bytes must be equal.
bool SameText(std::string_view a, std::string_view b) noexcept;

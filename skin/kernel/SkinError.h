// The skin engine's errors: ESkinError is the base of what the engine
// raises itself, so a caller can tell them from the class library's.
#pragma once

#include <stdexcept>
#include <string>

class ESkinError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A window (or a class-library form's WindowProc) that cannot be taken over.
class ESkinAttachError : public ESkinError {
public:
    using ESkinError::ESkinError;
};

#include "ExceptionHook.h"

#include <windows.h>

namespace {

void DebugOutput(std::exception_ptr error)
{
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        OutputDebugStringA(e.what());
    } catch (...) {
        OutputDebugStringA("unknown exception");
    }
}

TExceptionHandler gHandler = DebugOutput;

} // namespace

void SetExceptionHandler(TExceptionHandler handler) noexcept
{
    gHandler = handler != nullptr ? handler : DebugOutput;
}

void HandleException() noexcept
{
    try {
        gHandler(std::current_exception());
    } catch (...) {
    }
}

// Exceptions raised by handlers that run inside a window procedure end here
// rather than unwinding through the system's frames. The application object
// installs a handler that shows them; until then they go to the debugger.
#pragma once

#include <exception>

using TExceptionHandler = void (*)(std::exception_ptr error);

void SetExceptionHandler(TExceptionHandler handler) noexcept;
// Call from a catch block.
void HandleException() noexcept;

#include "http/stdafx.h"

#include <windows.h>

#include <string>

#include "common/Log.h"
#include "common/WinHandle.h"

namespace {

// The message text for |errorCode| from |module|'s message table; empty when unknown.
std::string ModuleMessage(const char* module, unsigned long errorCode) {
    // Loaded as a data file: only the message table is read, no code of the module runs.
    UniqueModule library(::LoadLibraryExA(module, nullptr, LOAD_LIBRARY_AS_DATAFILE));
    char text[260] = {};
    if (!::FormatMessageA(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS,
                          library.get(), errorCode, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), text,
                          sizeof(text), nullptr)) {
        return std::string();
    }
    return text;
}

}  // namespace

void ShowApiError(const char* apiName, unsigned long errorCode, const char* module,
                  const char* context) {
    const std::string message = ModuleMessage(module, errorCode);
    const unsigned long threadId = ::GetCurrentThreadId();
    if (context != nullptr && *context != '\0') {
        TLOG("ShowApiError", "[Thread][%d] [%s]call %s fail %d, %s\n", static_cast<int>(threadId),
             context, apiName, static_cast<int>(errorCode), message.c_str());
    } else {
        TLOG("ShowApiError", "[Thread][%d] call %s fail %d, %s\n", static_cast<int>(threadId),
             apiName, static_cast<int>(errorCode), message.c_str());
    }
}

// Shared reporting for the HTTP code: failed platform calls are written to the diagnostic log
// with the system's message text for their error code.
#pragma once

// Logs "[Thread][id] [context]call apiName fail code, text". The text comes from the message
// table of |module| (the WinINet and WinHTTP codes live in "wininet.dll"); an unknown code
// gives an empty text. A null or empty |context| drops the bracketed part.
void ShowApiError(const char* apiName, unsigned long errorCode, const char* module,
                  const char* context);

// A file that could not be opened, read, written or closed.
#pragma once

#include "platform/AnsiString.h"

class BryNewlineFilterIOException {
public:
    BryNewlineFilterIOException() = default;
    // errorCode is the errno value, or 0 for a misuse of the filter.
    BryNewlineFilterIOException(int errorCode, AnsiString errorMessage);

    int GetErrorCode() const { return errorCode; }
    const AnsiString& GetErrorMessage() const { return errorMessage; }
    void SetErrorCode(int code) { errorCode = code; }
    void SetErrorMessage(const AnsiString& message) { errorMessage = message; }

private:
    int errorCode = 0;
    AnsiString errorMessage;
};

#include "codec/BryNewlineFilterIOException.h"

#include <utility>

BryNewlineFilterIOException::BryNewlineFilterIOException(int errorCode, AnsiString errorMessage)
    : errorCode(errorCode), errorMessage(std::move(errorMessage)) {}

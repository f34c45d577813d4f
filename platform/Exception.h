// Root of the class library's exception hierarchy: what the application
// object shows when a handler fails.
#pragma once

#include "platform/AnsiString.h"

#include <exception>

class Exception : public std::exception {
public:
    explicit Exception(AnsiString message) : message(std::move(message)) {}

    const AnsiString& Message() const { return message; }
    const char* what() const noexcept override { return message.c_str(); }

private:
    AnsiString message;
};

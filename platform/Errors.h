#pragma once
// Failures the user must read travel as exceptions carrying the user's text;
// the application's default error handler shows them.

#include <QString>
#include <stdexcept>

class GcError : public std::runtime_error {
public:
    explicit GcError(const QString& text);
    QString Text() const;
};

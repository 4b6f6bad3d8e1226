#pragma once
// An environment variable set, or unset, for one test and put back as it was after it.

#include <QByteArray>
#include <QtGlobal>
#include <optional>

class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const std::optional<QByteArray>& value)
        : name_(name), previous_(Read(name))
    {
        Put(value);
    }
    ~ScopedEnvironment() { Put(previous_); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    static std::optional<QByteArray> Read(const char* name)
    {
        return qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt;
    }
    void Put(const std::optional<QByteArray>& value) const
    {
        if (value)
            qputenv(name_, *value);
        else
            qunsetenv(name_);
    }

    const char* name_;
    std::optional<QByteArray> previous_;
};

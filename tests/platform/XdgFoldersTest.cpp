// The XDG base folders: the variable where it is an absolute path, the home's default else.

#include "platform/XdgFolders.h"

#include "tests/support/ScopedEnvironment.h"

#include <gtest/gtest.h>

namespace {

TEST(XdgFolders, TakeAnAbsoluteVariableOrTheHomesDefault)
{
    const ScopedEnvironment home("HOME", QByteArray("/home/korvane"));
    const struct {
        const char* variable;
        QString (*folder)();
        std::optional<QByteArray> value;
        QString expected;
    } rows[] = {
        {"XDG_STATE_HOME", XdgStateHome, QByteArray("/state/k/"), "/state/k"},
        {"XDG_STATE_HOME", XdgStateHome, std::nullopt, "/home/korvane/.local/state"},
        {"XDG_STATE_HOME", XdgStateHome, QByteArray(), "/home/korvane/.local/state"},
        {"XDG_STATE_HOME", XdgStateHome, QByteArray("state/k"), "/home/korvane/.local/state"},
        {"XDG_DATA_HOME", XdgDataHome, QByteArray("/data//k"), "/data/k"},
        {"XDG_DATA_HOME", XdgDataHome, QByteArray("~/data"), "/home/korvane/.local/share"},
    };
    for (const auto& row : rows) {
        const ScopedEnvironment variable(row.variable, row.value);
        EXPECT_EQ(row.folder().toStdString(), row.expected.toStdString())
            << row.variable << "=" << (row.value ? row.value->toStdString() : "(unset)");
    }
}

}  // namespace

// NativePath on arbitrary names, resolved in a small tree whose entries differ only in letter
// case, hold non-ASCII letters, or are links that loop or lead nowhere. The first byte picks
// how the rest is decoded: Windows-1252 as the settings file holds it, UTF-8, or raw UTF-16
// (unpaired surrogates included). Whatever the name, the result uses no backslash, equals the
// name without regard to case, separators turned, and resolves to itself.

#include "fuzz/FuzzGame.h"
#include "platform/Cp1252.h"
#include "platform/WinPath.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <cstddef>
#include <cstdint>

namespace {

void MakeFile(const QString& path)
{
    QFile file(path);
    FuzzCheck(file.open(QIODevice::WriteOnly), "cannot make a file of the tree");
}

QString Decoded(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return {};
    const char* text = reinterpret_cast<const char*>(data + 1);
    const auto length = static_cast<qsizetype>(size - 1);
    switch (data[0] % 3) {
    case 0: return FromCp1252(QByteArray(text, length));
    case 1: return QString::fromUtf8(text, length);
    default: return QString(reinterpret_cast<const QChar*>(text), length / 2);
    }
}

}  // namespace

// Names that climb out of the tree or start at the root make NativePath list real system
// folders, thousands of entries each. ASan records the call stack of every allocation, and
// walking up through Qt, built without frame pointers, gives ever new stacks, all of them
// kept: long runs outgrew libFuzzer's memory limit. This target keeps no allocation stacks;
// a fault still shows where it happens.
// NOLINTNEXTLINE(bugprone-reserved-identifier): the name ASan looks up for its defaults.
extern "C" const char* __asan_default_options() { return "malloc_context_size=0"; }

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    const QDir editor(FuzzGameRoot() + QStringLiteral("/Gridcrafter"));
    for (const char* folder :
         {"Maps/Old", "maps", "MAPS/new", "Sprites", "\u00dcmlaut/Stra\u00dfe"})
        FuzzCheck(editor.mkpath(QString::fromUtf8(folder)), "cannot make a folder of the tree");
    for (const char* file :
         {"Maps/Old/One.KVX", "Maps/one.kvx", "Sprites/Height.BMP", "Sprites/EFFECTS.BMP",
          "Sprites/effects.bmp", "\xc3\x9cmlaut/\xc3\x9f.txt"})
        MakeFile(editor.filePath(QString::fromUtf8(file)));
    QFile::link(editor.path(), editor.filePath(QStringLiteral("Loop")));
    QFile::link(editor.filePath(QStringLiteral("Nowhere")),
                editor.filePath(QStringLiteral("Dangling")));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString name = Decoded(data, size);
    const QString native = NativePath(name);
    QString turned = name;
    turned.replace(QChar('\\'), QChar('/'));
    FuzzCheck(!native.contains(QChar('\\')), "a backslash survived");
    FuzzCheck(native.compare(turned, Qt::CaseInsensitive) == 0,
              "the result is not the name in another letter case");
    FuzzCheck(NativePath(native) == native, "the result does not resolve to itself");
    return 0;
}

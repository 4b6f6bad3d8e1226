#pragma once
// What every fuzz target needs around the reader it drives: a throw-away game installation
// with the editor folder as the current directory, prompts that only count, and a way to put
// the fuzzer's bytes into a file.

#include "platform/Prompts.h"

#include <QString>
#include <cstddef>
#include <cstdint>

// Prompts with nobody to ask: questions are answered yes, texts are counted.
class SilentPrompts : public Prompts {
public:
    void Warning(const QString& text) override;
    void Information(const QString& text) override;
    bool AskYesNo(const QString& text) override;

    int Warnings = 0;
    int Informations = 0;
};

// <root>/Korvane.INI, <root>/Sprites/ and <root>/Gridcrafter, made on the first call and
// removed at exit; the current directory is <root>/Gridcrafter from then on. The folder lies
// in /dev/shm where there is one: saves flush to disk, and a RAM disk keeps that cheap.
const QString& FuzzGameRoot();

// The fuzzer's bytes as the whole content of path; aborts when that cannot be done, since
// every later check would then test the wrong file.
void WriteFuzzFile(const QString& path, const std::uint8_t* data, std::size_t size);

// Stops the run with a message when a property that must hold for every input fails.
void FuzzCheck(bool holds, const char* what);

#include "platform/Prompts.h"

#include <cstdio>

namespace {

class StandardErrorPrompts : public Prompts {
public:
    void Warning(const QString& text) override { Print("Warning", text); }
    void Information(const QString& text) override { Print("Information", text); }
    bool AskYesNo(const QString& text) override
    {
        Print("Question (answered yes)", text);
        return true;
    }

private:
    static void Print(const char* kind, QString text)
    {
        text.replace(QChar('\r'), QChar('\n'));
        std::fprintf(stderr, "%s: %s\n", kind, text.toLocal8Bit().constData());
    }
};

StandardErrorPrompts DefaultPrompts;
Prompts* Installed = nullptr;

}  // namespace

std::optional<QString> Prompts::FileDialog(const FileDialogOptions&, const QString&)
{
    return std::nullopt;
}

bool Prompts::PrintDialog(QPrinter&) { return false; }

Answer Prompts::AskYesNoCancel(const QString&) { return Answer::Cancel; }

Prompts& CurrentPrompts() { return Installed ? *Installed : DefaultPrompts; }

void InstallPrompts(Prompts* prompts) { Installed = prompts; }

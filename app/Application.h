#pragma once
// The application object: its title, fonts and icon, the busy cursor, and the default
// error handler that shows what any command throws.

#include <QApplication>
#include <QString>
#include <functional>

class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);
    ~TApplication() override;

    // Runs the event; an exception from its handler ends the command and is shown.
    bool notify(QObject* receiver, QEvent* event) override;
};

// The name on the task bar and on the error boxes.
inline const QString ApplicationTitle = QStringLiteral("Gridcraft");

// The layouts name Windows fonts; these stand in for them.
void RegisterFontSubstitutions();

// Shows the message of an error that no command caught.
void ShowException(const QString& text);
// Where ShowException puts the text; nullptr restores the error message box.
void SetExceptionDisplay(std::function<void(const QString&)> display);

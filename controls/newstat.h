#pragma once
// A status bar with panels side by side from the left; the last panel fills the rest of
// the bar whatever its width. It accepts child controls like any container.

#include <QString>
#include <QWidget>
#include <vector>

class TAStatusBar : public QWidget {
    Q_OBJECT
public:
    explicit TAStatusBar(QWidget* parent = nullptr);

    void AddPanel(const QString& text, int width);
    int PanelCount() const;
    QString PanelText(int index) const;
    int PanelWidth(int index) const;
    // Repaints that panel.
    void SetPanelText(int index, const QString& text);
    // Where panel index lies in the bar now.
    QRect PanelRect(int index) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Panel {
        QString text;
        int width;
    };
    std::vector<Panel> panels_;
};

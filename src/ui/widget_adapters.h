#pragma once
// The window's Progress bar and StatusLabel as the catalogue sees them (platform/hooks.h).

#include <QPointer>

#include "platform/hooks.h"

class QLabel;
class QProgressBar;

namespace mt {

class WidgetProgressBar : public ProgressBar {
public:
    explicit WidgetProgressBar(QProgressBar* bar);
    int Value() const override;
    void SetValue(int value) override;
    void SetVisible(bool visible) override;
    // Paints the bar now, without waiting for the event loop.
    void Refresh() override;

private:
    QPointer<QProgressBar> bar_;
};

class WidgetStatusLabel : public StatusLabel {
public:
    explicit WidgetStatusLabel(QLabel* label);
    // UTF-8.
    std::string Text() const override;
    void SetText(const std::string& text) override;
    // Paints the label now, without waiting for the event loop.
    void Refresh() override;

private:
    QPointer<QLabel> label_;
};

}  // namespace mt

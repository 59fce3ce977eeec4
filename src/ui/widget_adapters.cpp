#include "ui/widget_adapters.h"

#include <QLabel>
#include <QProgressBar>

namespace mt {

WidgetProgressBar::WidgetProgressBar(QProgressBar* bar) : bar_(bar) {}

int WidgetProgressBar::Value() const { return bar_ ? bar_->value() : 0; }

void WidgetProgressBar::SetValue(int value) {
    if (bar_) bar_->setValue(value);
}

void WidgetProgressBar::SetVisible(bool visible) {
    if (bar_) bar_->setVisible(visible);
}

void WidgetProgressBar::Refresh() {
    if (bar_) bar_->repaint();
}

WidgetStatusLabel::WidgetStatusLabel(QLabel* label) : label_(label) {}

std::string WidgetStatusLabel::Text() const {
    return label_ ? label_->text().toStdString() : std::string();
}

void WidgetStatusLabel::SetText(const std::string& text) {
    if (label_) label_->setText(QString::fromStdString(text));
}

void WidgetStatusLabel::Refresh() {
    if (label_) label_->repaint();
}

}  // namespace mt

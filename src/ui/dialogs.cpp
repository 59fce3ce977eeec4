#include "ui/dialogs.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>

namespace mt {

namespace {
std::optional<std::string> Chosen(const QString& path) {
    if (path.isEmpty()) return std::nullopt;
    return QFile::encodeName(path).toStdString();
}
}  // namespace

std::optional<std::string> QtDialogs::ChooseFolder(QWidget* parent, const std::string& prompt) {
    return Chosen(QFileDialog::getExistingDirectory(parent, QString::fromStdString(prompt)));
}

std::optional<std::string> QtDialogs::ChooseFile(QWidget* parent, const std::string& prompt) {
    return Chosen(QFileDialog::getOpenFileName(parent, QString::fromStdString(prompt)));
}

void QtMessageBoxes::Show(QWidget* parent, const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(),
                    QString::fromStdString(text), QMessageBox::Ok, parent);
    // File and project names may hold "<": never read them as markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

void QtMessageBoxes::ShowAbout(QWidget* parent, const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("About ") + QApplication::applicationName(),
                    QString::fromStdString(text), QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    const QIcon icon = QApplication::windowIcon();
    if (!icon.isNull()) box.setIconPixmap(icon.pixmap(64, 64));
    box.exec();
}

Dialogs& RealDialogs() {
    static QtDialogs dialogs;
    return dialogs;
}

MessageBoxes& RealMessageBoxes() {
    static QtMessageBoxes boxes;
    return boxes;
}

}  // namespace mt

#include "gui_nx/Nx_MessageBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <array>
#include <cstdio>
#include <utility>
#include <vector>

namespace {

bool g_unattended = false;

void WriteUnattended(const QString& text) {
    QString line = text.startsWith(QLatin1String("<qt>")) ? text.mid(4) : text;
    std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
}

// The box is modal over the running modal window (the wizard), if any.
QWidget* boxParent() {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    return QApplication::activeWindow();
}

QString boxTitle(const QWidget* parent) {
    if (parent && !parent->windowTitle().isEmpty()) return parent->windowTitle();
    return QApplication::applicationDisplayName();
}

void setBoxText(QMessageBox& box, const QString& text) {
    box.setTextFormat(text.startsWith(QLatin1String("<qt>")) ? Qt::RichText : Qt::PlainText);
    box.setText(text);
}

QMessageBox::StandardButton standardButton(int code) {
    switch (code) {
    case Nx_MessageBox::Ok: return QMessageBox::Ok;
    case Nx_MessageBox::Cancel: return QMessageBox::Cancel;
    case Nx_MessageBox::Yes: return QMessageBox::Yes;
    case Nx_MessageBox::No: return QMessageBox::No;
    case Nx_MessageBox::Abort: return QMessageBox::Abort;
    case Nx_MessageBox::Retry: return QMessageBox::Retry;
    case Nx_MessageBox::Ignore: return QMessageBox::Ignore;
    default: return QMessageBox::NoButton;
    }
}

int showBox(QMessageBox::Icon icon, const QString& text, int button0, int button1, int button2) {
    if (g_unattended) {
        WriteUnattended(text);
        for (const int code : {button0, button1, button2})
            if (standardButton(code) != QMessageBox::NoButton) return code;
        return Nx_MessageBox::Ok;
    }
    QWidget* parent = boxParent();
    QMessageBox box(parent);
    box.setIcon(icon);
    box.setWindowTitle(boxTitle(parent));
    setBoxText(box, text);
    std::vector<std::pair<QAbstractButton*, int>> buttons;
    for (const int code : {button0, button1, button2}) {
        const QMessageBox::StandardButton standard = standardButton(code);
        if (standard == QMessageBox::NoButton) continue;
        buttons.emplace_back(box.addButton(standard), code);
    }
    if (buttons.empty()) buttons.emplace_back(box.addButton(QMessageBox::Ok), Nx_MessageBox::Ok);
    box.setDefaultButton(static_cast<QPushButton*>(buttons.front().first));
    box.exec();
    for (const auto& [button, code] : buttons)
        if (box.clickedButton() == button) return code;
    return Nx_MessageBox::NoButton;
}

}  // namespace

int Nx_MessageBox::critical(const QString& text, int button0, int button1, int button2) {
    return showBox(QMessageBox::Critical, text, button0, button1, button2);
}

int Nx_MessageBox::warning(const QString& text, int button0, int button1, int button2) {
    return showBox(QMessageBox::Warning, text, button0, button1, button2);
}

int Nx_MessageBox::information(const QString& text, int button0, int button1, int button2) {
    return showBox(QMessageBox::Information, text, button0, button1, button2);
}

int Nx_MessageBox::question(const QString& text, const QString& button0Text,
                            const QString& button1Text, const QString& button2Text,
                            int defaultButton, int escapeButton) {
    if (g_unattended) {
        WriteUnattended(text);
        return defaultButton;
    }
    QWidget* parent = boxParent();
    QMessageBox box(parent);
    box.setIcon(QMessageBox::Question);
    box.setWindowTitle(boxTitle(parent));
    setBoxText(box, text);
    // The buttons keep their index as their meaning; the action role keeps
    // QMessageBox from picking an escape button of its own.
    std::vector<std::pair<QPushButton*, int>> buttons;
    const std::array<QString, 3> texts{button0Text, button1Text, button2Text};
    for (int i = 0; i < 3; ++i) {
        if (texts[i].isEmpty()) continue;
        buttons.emplace_back(box.addButton(texts[i], QMessageBox::ActionRole), i);
    }
    if (buttons.empty()) buttons.emplace_back(box.addButton(QMessageBox::Ok), 0);
    for (const auto& [button, index] : buttons) {
        if (index == defaultButton) box.setDefaultButton(button);
        if (index == escapeButton) box.setEscapeButton(button);
    }
    box.exec();
    for (const auto& [button, index] : buttons)
        if (box.clickedButton() == button) return index;
    return escapeButton;
}

void Nx_MessageBox::setUnattended(bool unattended) { g_unattended = unattended; }

bool Nx_MessageBox::isUnattended() { return g_unattended; }

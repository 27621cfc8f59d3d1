// Window tests answer for the user: scoped hooks for the popup menus and the file dialog,
// a look at a menu's items, and a mouse drag.
#pragma once

#include "app/window/popup_menu.h"
#include "tools/file_chooser.h"

#include <QAction>
#include <QMenu>
#include <QTest>

#include <string>
#include <vector>

namespace lumora::test {

// Every popup menu answers `command` (0: closed without a choice) and is remembered.
class MenuAnswer {
public:
    explicit MenuAnswer(int command = 0) : command_(command) {
        previous_ = PopupMenu::SetHook([this](QMenu& menu, QPoint at) {
            shown_.push_back(&menu);
            at_.push_back(at);
            return command_;
        });
    }
    ~MenuAnswer() { PopupMenu::SetHook(std::move(previous_)); }

    const std::vector<QMenu*>& Shown() const { return shown_; }
    const std::vector<QPoint>& At() const { return at_; }

private:
    int command_;
    std::vector<QMenu*> shown_;
    std::vector<QPoint> at_;
    PopupMenu::Hook previous_;
};

// Every file dialog answers `files` (empty: cancelled) and its request is kept.
class FileAnswer {
public:
    explicit FileAnswer(QStringList files = {}) : files_(std::move(files)) {
        previous_ = FileChooser::SetHook([this](const FileChoice& request) {
            requests_.push_back(request);
            return files_;
        });
    }
    ~FileAnswer() { FileChooser::SetHook(std::move(previous_)); }

    void Set(QStringList files) { files_ = std::move(files); }
    const std::vector<FileChoice>& Requests() const { return requests_; }

private:
    QStringList files_;
    std::vector<FileChoice> requests_;
    FileChooser::Hook previous_;
};

// One line per item: "text id", "-" for a separator, "text >" for a submenu, with "[x]"
// when checked and "(off)" when disabled.
inline std::vector<std::string> Items(const QMenu& menu) {
    std::vector<std::string> items;
    for (const QAction* action : menu.actions()) {
        if (action->isSeparator()) {
            items.push_back("-");
            continue;
        }
        std::string line = action->text().toStdString();
        line += action->menu() ? " >" : " " + std::to_string(PopupMenu::CommandOf(action));
        if (action->isChecked()) line += " [x]";
        if (!action->isEnabled()) line += " (off)";
        items.push_back(line);
    }
    return items;
}

// A left-button drag from `from` to `to` on `widget`, the move carrying the held button.
inline void Drag(QWidget* widget, QPoint from, QPoint to) {
    QTest::mousePress(widget, Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, QPointF(to), QPointF(widget->mapToGlobal(to)), Qt::NoButton, Qt::LeftButton,
                     {});
    QCoreApplication::sendEvent(widget, &move);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, to);
}

}  // namespace lumora::test

// SPDX-License-Identifier: GPL-3.0-or-later
#include "searchpopup.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScreen>
#include <QVBoxLayout>

#include "controls.h"

SearchPopup::SearchPopup(QWidget* parent, const QString& title, const QString& accessibleName,
                         const QString& note)
    : QDialog(parent),
      m_line(new QLineEdit(this)),
      m_list(new QListWidget(this)),
      m_note(new QLabel(note, this)) {
    setWindowTitle(title);
#if QT_CONFIG(accessibility)  // not in the browser's Qt, which has no screen reader to serve
    setAccessibleName(accessibleName);
    m_line->setAccessibleName(accessibleName);
    m_list->setAccessibleName(QStringLiteral("найдено"));
#else
    Q_UNUSED(accessibleName);
#endif
    setWindowModality(Qt::WindowModal);
    setAttribute(Qt::WA_DeleteOnClose);
    // The main window's text-box font, so that the rows read like its boxes.
    setFont(ProgramFont(FontName::S8));
    m_line->setObjectName(QStringLiteral("query"));
    m_line->setClearButtonEnabled(true);
    m_list->setObjectName(QStringLiteral("results"));
    m_list->setUniformItemSizes(true);
    m_note->setObjectName(QStringLiteral("source"));
    m_note->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_line);
    layout->addWidget(m_list);
    layout->addWidget(m_note);
    // No wider than the screen leaves room for: a phone's page is about 450 pixels wide, and
    // the box's clear button sits at its right end.
    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    const int room = screen ? screen->availableGeometry().width() - 16 : 560;
    resize(qBound(240, room, 560), 360);

    m_line->installEventFilter(this);
    connect(m_line, &QLineEdit::textChanged, this, &SearchPopup::typed);
    connect(m_line, &QLineEdit::returnPressed, this,
            [this] { choose(m_list->currentRow() >= 0 ? m_list->currentRow() : 0); });
    connect(m_list, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { choose(m_list->row(item)); });
}

void SearchPopup::setRows(const QVector<Row>& rows) {
    m_list->clear();
    const QColor grey = palette().color(QPalette::Disabled, QPalette::Text);
    for (const Row& row : rows) {
        auto* item = new QListWidgetItem(row.text, m_list);
        item->setData(Qt::UserRole, row.key);
        if (row.greyed) item->setForeground(grey);
    }
}

bool SearchPopup::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_line && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp ||
            key == Qt::Key_PageDown) {
            if (m_list->currentRow() < 0 && m_list->count() > 0) {
                m_list->setCurrentRow(0);
            } else {
                QKeyEvent copy(QEvent::KeyPress, key, Qt::NoModifier);
                QCoreApplication::sendEvent(m_list, &copy);
            }
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void SearchPopup::choose(int row) {
    const QListWidgetItem* item = m_list->item(row);
    if (!item) return;
    emit chosen(item->data(Qt::UserRole).toInt());
    accept();
}

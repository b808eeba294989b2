// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QString>
#include <QVector>

class QLabel;
class QLineEdit;
class QListWidget;

// A search over a list: a line to type in and the rows found under it, refilled as the user
// types, with a note on where the list comes from below. Enter or a double click chooses a row
// (Enter the first one while none is selected), Up and Down move through the rows from the line,
// and Escape closes it without a choice. It closes itself once a row is chosen.
class SearchPopup : public QDialog {
    Q_OBJECT
public:
    struct Row {
        QString text;
        int key;              // what chosen() hands back
        bool greyed = false;  // shown in the disabled colour, still chosen like any other
    };

    SearchPopup(QWidget* parent, const QString& title, const QString& accessibleName,
                const QString& note);

    void setRows(const QVector<Row>& rows);
    QLineEdit* line() const { return m_line; }
    QListWidget* list() const { return m_list; }

signals:
    void typed(const QString& text);
    void chosen(int key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void choose(int row);

    QLineEdit* m_line;
    QListWidget* m_list;
    QLabel* m_note;
};

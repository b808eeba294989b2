// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

#include "datafile.h"

class ImageCanvas;
class RecordingCanvas;
class QLineEdit;

// The direction plot window "CYRC1": a compass, the compass turned by the angle in POZIA, and
// satellite 1's direction from the direction data file. Constructing it loads it, hidden.
class FLIN1 : public QWidget {
    Q_OBJECT
public:
    // place: where the direction data file lives in this run of the program; showMain brings
    // the main window forward, EXIT calls it.
    FLIN1(DataFilePlace place, std::function<void()> showMain);
    ~FLIN1() override;

    // The note on the site's magnetic declination below the rotation box's own tooltip; none
    // for an empty note.
    void setRotationNote(const QString& note);

    // The picture START painted, as the window shows it.
    const QImage& picture() const;
    // The drawing operations of the latest START press, in order.
    const RecordingCanvas& lastPress() const { return *m_recording; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void startPressed();

    DataFilePlace m_place;
    std::function<void()> m_showMain;
    QLineEdit* m_rotation;
    QString m_rotationToolTip;  // the rotation box's own tooltip, from the layout
    // START draws through the recording canvas, which passes every operation on to the image.
    std::unique_ptr<ImageCanvas> m_image;
    std::unique_ptr<RecordingCanvas> m_recording;
};

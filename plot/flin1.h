#pragma once

#include <QImage>
#include <QStringList>
#include <QWidget>
#include <functional>

#include "canvas.h"
#include "imagecanvas.h"

class QLabel;
class QLineEdit;
class QPushButton;

// The direction plot window "CYRC1": a compass, the compass turned by the angle in POZIA, and
// satellite 1's direction from the direction data file. Constructing it loads it, hidden.
class FLIN1 : public QWidget {
    Q_OBJECT
public:
    // showMain brings the main window forward; EXIT calls it.
    explicit FLIN1(std::function<void()> showMain);

    // The picture START painted, as the window shows it.
    const QImage& picture() const { return m_image.image(); }
    // The drawing operations of the latest START press, in order.
    const QStringList& lastOperations() const { return m_recording.operations(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void startPressed();

    std::function<void()> m_showMain;
    QString m_appDir;
    QPushButton* m_start;
    QPushButton* m_exit;
    QLineEdit* m_rotation;
    QLabel* m_label;
    // START draws through the recording canvas, which passes every operation on to the image.
    ImageCanvas m_image;
    RecordingCanvas m_recording;
};

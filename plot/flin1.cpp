#include "flin1.h"

FLIN1::FLIN1(std::function<void()> showMain) : m_showMain(std::move(showMain)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("CYRC1"));
}

#include "fris123.h"

FRIS123::FRIS123(std::function<void()> showMain) : m_showMain(std::move(showMain)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("RIS123"));
    hide();
    show();
}

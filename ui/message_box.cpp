#include "ui/message_box.h"

#include <QMessageBox>

namespace ui {

void showMessageBox(QWidget* parent, const QString& prompt, const QString& title)
{
    QMessageBox box(QMessageBox::NoIcon, title, prompt, QMessageBox::Ok, parent);
    box.setObjectName("MessageBox");
    // Every message is plain text; a component name in it is never read as HTML.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace ui

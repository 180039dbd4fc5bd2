#pragma once

#include <QWidget>

class QTextBrowser;

namespace ui {

/// The instructions window: a document on using the application. Open it with
/// showSingle<frmEOS1Instruct>().
class frmEOS1Instruct : public QWidget {
    Q_OBJECT
public:
    explicit frmEOS1Instruct(QWidget* parent = nullptr);

private:
    QTextBrowser* RichTextBox1;
};

} // namespace ui

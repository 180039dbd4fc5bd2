#pragma once

#include <QWidget>

class QPushButton;
class QTextBrowser;

namespace ui {

/// The information window: a document on equations of state and three buttons that open the
/// figure windows. Open it with showSingle<frmInfoEOS>().
class frmInfoEOS : public QWidget {
    Q_OBJECT
public:
    explicit frmInfoEOS(QWidget* parent = nullptr);

private:
    void cmdFig1_Click();
    void cmdFig2_Click();
    void cmdFig3_Click();

    QTextBrowser* RichTextBox1;
    QPushButton* cmdFig1;
    QPushButton* cmdFig2;
    QPushButton* cmdFig3;
};

} // namespace ui

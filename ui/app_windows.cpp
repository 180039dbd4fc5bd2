#include "ui/app_windows.h"

namespace ui {
namespace {

QWidget* placeholder(const char* name, const char* title)
{
    auto* w = new QWidget;
    w->setObjectName(name);
    w->setWindowTitle(title);
    w->resize(400, 300);
    return w;
}

} // namespace

QWidget* showInformationWindow()
{
    static QPointer<QWidget> slot;
    return showSingle(slot, [] { return placeholder("frmInfoEOS", "Equations of State"); });
}

QWidget* showInstructionsWindow()
{
    static QPointer<QWidget> slot;
    return showSingle(slot, [] { return placeholder("frmEOS1Instruct", "Tavrel1"); });
}

QWidget* showEditorWindow()
{
    static QPointer<QWidget> slot;
    return showSingle(slot, [] { return placeholder("frmCritConst1", "Critical Constants - Eq of State"); });
}

} // namespace ui

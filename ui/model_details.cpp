#include "ui/model_details.h"

#include "state/result_sheet.h"
#include "ui/save_file.h"
#include "ui/table_export.h"
#include "ui/window_style.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFont>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

namespace ui {
namespace {

const QSize kInitialSize(1180, 760);
const QString kTitle = "Model Details";

QTableWidget* makeGrid(QWidget* parent, const char* name, const QStringList& headers)
{
    auto* grid = new QTableWidget(parent);
    grid->setObjectName(name);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->verticalHeader()->setVisible(false);
    grid->setColumnCount(static_cast<int>(headers.size()));
    grid->setHorizontalHeaderLabels(headers);
    grid->setWordWrap(true);
    return grid;
}

/// One row of text cells; the columns in `numbers` (a bit each) are right-aligned so their
/// digits line up, words and units stay left.
void setRow(QTableWidget* grid, int row, std::initializer_list<std::string_view> cells,
            unsigned numbers)
{
    int column = 0;
    for (std::string_view text : cells) {
        auto* item = new QTableWidgetItem(fromStd(text));
        if (numbers & (1u << column))
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->setItem(row, column++, item);
    }
}

constexpr unsigned kRootNumbers = 0b111;  // V, Z, ln φ
constexpr unsigned kValueNumbers = 0b010; // the value between name and unit

/// At least as wide as its columns' contents and a vertical scroll bar, so the columns never
/// scroll sideways.
void fitWidth(QTableWidget* grid)
{
    grid->resizeColumnsToContents();
    grid->setMinimumWidth(grid->horizontalHeader()->length() + 2 * grid->frameWidth() +
                          grid->verticalScrollBar()->sizeHint().width());
}

QLabel* caption(QWidget* parent, const QString& text)
{
    auto* label = new QLabel(text, parent);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

} // namespace

ModelDetailsWindow::ModelDetailsWindow(std::optional<store::Settings> settings, QWidget* parent)
    : QWidget(parent), m_settings(std::move(settings))
{
    setObjectName("frmModelDetails");
    setWindowTitle(kTitle);
    setWindowFlags(Qt::Window);
    createControls();
    resize(kInitialSize);
}

ModelDetailsWindow::~ModelDetailsWindow() = default;

void ModelDetailsWindow::createControls()
{
    cboModel = new QComboBox(this);
    cboModel->setObjectName("cboModel");
    for (int r = 0; r < state::kRowCount; ++r)
        cboModel->addItem(fromStd(state::rowCaption(static_cast<state::Row>(r))));
    cboModel->setCurrentIndex(static_cast<int>(state::Row::PR));
    lblHeading = caption(this, QString());
    lblHeading->setObjectName("lblHeading");
    lblHeading->setTextFormat(Qt::PlainText);

    grdRoots = makeGrid(this, "grdRoots", {"V (cm3/mol)", "Z", "ln φ", "Tag", "Reason"});
    grdRoots->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    grdRoots->horizontalHeader()->setSectionResizeMode(4, QHeaderView::Stretch);
    grdParameters = makeGrid(this, "grdParameters", {"Parameter", "Value", "Unit"});
    grdProperties = makeGrid(this, "grdProperties", {"Property", "Value", "Unit"});
    for (QTableWidget* g : {grdParameters, grdProperties}) {
        g->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    }
    for (QTableWidget* g : {grdRoots, grdParameters, grdProperties})
        g->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    lblStable = caption(this, QString());
    lblStable->setObjectName("lblStable");
    lblStable->setTextFormat(Qt::PlainText);
    txtExplanation = new QPlainTextEdit(this);
    txtExplanation->setObjectName("txtExplanation");
    txtExplanation->setReadOnly(true);
    lblReference = new QLabel(fromStd(core::kResidualNote), this);
    lblReference->setObjectName("lblReference");
    lblReference->setTextFormat(Qt::PlainText);
    lblReference->setWordWrap(true);
    cmdCopy = new QPushButton("Copy", this);
    cmdCopy->setObjectName("cmdCopy");
    cmdCopy->setToolTip("Copy the model's details as text");
    cmdSaveData = new QPushButton("Save Data...", this);
    cmdSaveData->setObjectName("cmdSaveData");

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel("Model:", this));
    top->addWidget(cboModel);
    top->addSpacing(12);
    top->addWidget(lblHeading, 1);
    auto* left = new QVBoxLayout;
    left->addWidget(caption(this, "Parameters at T"));
    left->addWidget(grdParameters, 1);
    auto* middle = new QVBoxLayout;
    middle->addWidget(lblStable);
    middle->addWidget(grdProperties, 1);
    auto* right = new QVBoxLayout;
    right->addWidget(caption(this, "Why this root"));
    right->addWidget(txtExplanation, 1);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 3);
    columns->addLayout(middle, 4);
    columns->addLayout(right, 4);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(lblReference, 1);
    buttons->addWidget(cmdCopy);
    buttons->addWidget(cmdSaveData);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(caption(this, "Real roots"));
    layout->addWidget(grdRoots);
    layout->addLayout(columns, 1);
    layout->addLayout(buttons);

    connect(cboModel, &QComboBox::currentIndexChanged, this, &ModelDetailsWindow::cboModel_Changed);
    connect(cmdCopy, &QPushButton::clicked, this, &ModelDetailsWindow::cmdCopy_Click);
    connect(cmdSaveData, &QPushButton::clicked, this, &ModelDetailsWindow::cmdSaveData_Click);
    connect(new QShortcut(QKeySequence::Copy, this), &QShortcut::activated, this,
            &ModelDetailsWindow::cmdCopy_Click);
}

void ModelDetailsWindow::showState(const state::CalcState& s, double t_K, double p_bar)
{
    m_state = s;
    m_t_K = t_K;
    m_p_bar = p_bar;
    fill();
}

void ModelDetailsWindow::setModel(state::Row model)
{
    if (cboModel->currentIndex() == static_cast<int>(model))
        fill();
    else
        cboModel->setCurrentIndex(static_cast<int>(model)); // fills through cboModel_Changed
}

void ModelDetailsWindow::cboModel_Changed(int) { fill(); }

void ModelDetailsWindow::fill()
{
    m_details = core::modelDetails(m_state, m_t_K, m_p_bar,
                                   static_cast<state::Row>(cboModel->currentIndex()));
    const core::ModelDetails& d = m_details;
    lblHeading->setText(fromStd(d.heading));
    grdRoots->setRowCount(static_cast<int>(d.roots.size()));
    for (std::size_t i = 0; i < d.roots.size(); ++i) {
        const core::RootRow& r = d.roots[i];
        setRow(grdRoots, static_cast<int>(i), {r.volume, r.z, r.lnPhi, r.tag, r.reason},
               kRootNumbers);
    }
    grdRoots->resizeRowsToContents();
    // The roots grid is as tall as its rows (at most four), so the grids below get the rest.
    int height = grdRoots->horizontalHeader()->height() + 2 * grdRoots->frameWidth();
    for (int i = 0; i < grdRoots->rowCount(); ++i)
        height += grdRoots->rowHeight(i);
    grdRoots->setFixedHeight(std::max(height, grdRoots->horizontalHeader()->height() * 3));
    grdParameters->setRowCount(static_cast<int>(d.parameters.size()));
    for (std::size_t i = 0; i < d.parameters.size(); ++i)
        setRow(grdParameters, static_cast<int>(i),
               {d.parameters[i].name, d.parameters[i].value, d.parameters[i].unit}, kValueNumbers);
    fitWidth(grdParameters);
    lblStable->setText(fromStd(d.stable));
    grdProperties->setRowCount(static_cast<int>(d.properties.size()));
    for (std::size_t i = 0; i < d.properties.size(); ++i)
        setRow(grdProperties, static_cast<int>(i),
               {d.properties[i].name, d.properties[i].value, d.properties[i].unit}, kValueNumbers);
    fitWidth(grdProperties);
    QString steps;
    for (std::size_t i = 0; i < d.steps.size(); ++i)
        steps += QString::number(i + 1) + ". " + fromStd(d.steps[i]) + "\n";
    txtExplanation->setPlainText(steps.trimmed());
}

bool ModelDetailsWindow::exportCsv(const QString& path) const
{
    return !saveFile(path, core::modelDetailsText(m_details, ','));
}

void ModelDetailsWindow::copyToClipboard() const
{
    QApplication::clipboard()->setText(fromStd(core::modelDetailsText(m_details)));
}

void ModelDetailsWindow::cmdCopy_Click() { copyToClipboard(); }

void ModelDetailsWindow::cmdSaveData_Click()
{
    saveCsvAs(
        this, "Save Data", m_settings, [this](const QString& path) { return exportCsv(path); },
        "The data could not be written to", kTitle);
}

} // namespace ui

#include "exchange/FrmImportPreview.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "channels/ChannelRules.h"
#include "freq/Bands.h"
#include "state/Program.h"
#include "state/lang/LangText.h"
#include "state/lang/TextIds.h"
#include "ui/DialogCaptions.h"
#include "ui/ToQ.h"
#include "ui/Twips.h"

namespace tarvane {

FrmImportPreview::FrmImportPreview(Program& p, std::string csv, const QString& fileName, QWidget* parent)
    : QDialog(parent), p_(p), csv_(std::move(csv)) {
    setObjectName("FrmImportPreview");
    setWindowTitle(ToQ(LangText(p_, txt::kImportChannels_32879)) + " - " + fileName);
    const int band = p_.Model.ModelType;

    group_ = new QComboBox(this);
    group_->setObjectName("GroupList");
    for (int g = 0; g <= 12; ++g)
        if (GroupSize(g, band) > 0) group_->addItem(ToQ(GroupName(g, band)), g);
    group_->setCurrentIndex(group_->findData(DisplayedGroup(p_)));
    first_ = new QSpinBox(this);
    first_->setObjectName("FirstChannel");
    first_->setRange(1, GroupSize(DisplayedGroup(p_), band));
    auto* place = new QHBoxLayout;
    place->addWidget(new QLabel(ToQ(LangText(p_, txt::kRowsWithoutGroupFill)), this));
    place->addWidget(group_);
    place->addWidget(new QLabel(ToQ(LangText(p_, txt::kChannel_32878)), this));
    place->addWidget(first_);
    place->addStretch();

    rows_ = new QTableWidget(0, 3, this);
    rows_->setObjectName("Rows");
    rows_->setHorizontalHeaderLabels({ToQ(LangText(p_, txt::kLine_32880)),
                                      ToQ(LangText(p_, txt::kChannel_32881)),
                                      ToQ(LangText(p_, txt::kResult))});
    rows_->verticalHeader()->hide();
    rows_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    rows_->setSelectionBehavior(QAbstractItemView::SelectRows);
    for (int c : {0, 1})
        rows_->setColumnWidth(
            c, std::max(Px(70), TextWidth(rows_, rows_->horizontalHeaderItem(c)->text()) + Px(16)));
    rows_->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    rows_->setMinimumSize(Px(720), Px(320));

    summary_ = new QLabel(this);
    summary_->setObjectName("Summary");
    auto* hint = new QLabel(ToQ(LangText(p_, txt::kNothingChangedUntilOK)), this);
    QPushButton* cancel = nullptr;
    QHBoxLayout* buttons = MakeOkCancelRow(this, p_, ok_, cancel);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(place);
    layout->addWidget(rows_);
    layout->addWidget(summary_);
    layout->addWidget(hint);
    layout->addLayout(buttons);

    connect(group_, &QComboBox::currentIndexChanged, this, [this, band] {
        first_->setRange(1, GroupSize(group_->currentData().toInt(), band));
        Preview();
    });
    connect(first_, &QSpinBox::valueChanged, this, [this] { Preview(); });
    Preview();
}

void FrmImportPreview::Preview() {
    ImportOptions options;
    options.Group = group_->currentData().toInt();
    options.First = first_->value();
    result_ = ImportChannels(p_, csv_, options);
    rows_->setRowCount(static_cast<int>(result_.Rows.size()));
    const int band = p_.Model.ModelType;
    for (int i = 0; i < rows_->rowCount(); ++i) {
        const ImportRow& row = result_.Rows[static_cast<size_t>(i)];
        const TextId outcome = row.Outcome == RowOutcome::Taken      ? txt::kTaken
                               : row.Outcome == RowOutcome::Adjusted ? txt::kAdjusted
                                                                     : txt::kRefused;
        QString result = ToQ(LangText(p_, outcome));
        for (const std::string& note : row.Notes)
            result += "; " + ToQ(note);
        const QString place =
            row.Group >= 0 ? ToQ(GroupName(row.Group, band)) + " " + QString::number(row.Channel) : "";
        const QString cells[] = {QString::number(row.Line), place, result};
        for (int c = 0; c < 3; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (row.Outcome == RowOutcome::Refused) item->setForeground(Qt::red);
            if (row.Outcome == RowOutcome::Adjusted) item->setForeground(QColor(0x99, 0x66, 0x00));
            rows_->setItem(i, c, item);
        }
    }
    rows_->resizeColumnsToContents();
    summary_->setText(ToQ(ImportSummary(p_, result_)));
    // Nothing to take: OK would change nothing.
    ok_->setEnabled(result_.Count(RowOutcome::Taken) + result_.Count(RowOutcome::Adjusted) > 0);
}

} // namespace tarvane

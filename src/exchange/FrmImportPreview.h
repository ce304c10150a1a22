#pragma once
// The preview of File > Import channels: every row of the file with what becomes
// of it (taken, adjusted and why, refused and why), the group that rows without
// a place of their own fill and the channel they start at. Nothing changes in the
// document until OK; the caller then takes Result().
#include <QDialog>
#include <string>

#include "exchange/ChannelImport.h"

class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace tarvane {

struct Program;

class FrmImportPreview : public QDialog {
    Q_OBJECT
  public:
    FrmImportPreview(Program& p, std::string csv, const QString& fileName, QWidget* parent = nullptr);
    const ImportResult& Result() const { return result_; }
    QTableWidget* Rows() const { return rows_; }
    QComboBox* GroupList() const { return group_; }
    QSpinBox* FirstChannel() const { return first_; }

  private:
    void Preview();

    Program& p_;
    std::string csv_;
    ImportResult result_;
    QComboBox* group_ = nullptr;
    QSpinBox* first_ = nullptr;
    QTableWidget* rows_ = nullptr;
    QLabel* summary_ = nullptr;
    QPushButton* ok_ = nullptr;
};

} // namespace tarvane

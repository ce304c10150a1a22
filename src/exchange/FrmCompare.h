#pragma once
// The differences between the open document (A) and another codeplug or the
// radio (B), one per line; or that nothing differs.
#include <QDialog>
#include <vector>

#include "exchange/ImageCompare.h"

class QLabel;
class QPlainTextEdit;

namespace tarvane {

struct Program;

class FrmCompare : public QDialog {
    Q_OBJECT
  public:
    FrmCompare(Program& p, const std::vector<Difference>& differences, const QString& otherName,
               QWidget* parent = nullptr);
    QString Heading() const;
    QString Text() const;

  private:
    QLabel* heading_ = nullptr;
    QPlainTextEdit* list_ = nullptr;
};

} // namespace tarvane

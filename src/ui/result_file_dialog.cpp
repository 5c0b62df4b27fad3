#include "result_file_dialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>

namespace sonvera::ui {

ResultFileDialog::ResultFileDialog(Profile& profile, const QString& start, QWidget* parent)
    : QFileDialog(parent, QString(), start) {
  setObjectName(QStringLiteral("ResultFileDialog"));
  // Qt's own dialog, so that the encoding can sit inside it on every platform.
  setOption(QFileDialog::DontUseNativeDialog);
  setAcceptMode(QFileDialog::AcceptSave);
  setFileMode(QFileDialog::AnyFile);
  const QString workbooks = QStringLiteral("Excel workbook (*.xlsx)");
  setNameFilters({QStringLiteral("CSV files (*.csv)"), workbooks, QStringLiteral("Text files (*.txt)"),
                  QStringLiteral("All Files (*)")});

  encoding_ = new QComboBox(this);
  encoding_->setObjectName(QStringLiteral("encoding"));
  for (const TextEncoding e : {TextEncoding::Windows1251, TextEncoding::Utf8WithBom})
    encoding_->addItem(QString::fromUtf8(textEncodingCaption(e)), static_cast<int>(e));
  encoding_->setCurrentIndex(encoding_->findData(static_cast<int>(resultEncoding(profile))));
  auto* label = new QLabel(QStringLiteral("Кодировка:"), this);
  label->setBuddy(encoding_);
  if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
    // Under "Files of type", in the same columns.
    const int row = grid->rowCount();
    grid->addWidget(label, row, 0);
    grid->addWidget(encoding_, row, 1);
  }
  // A workbook has no text encoding; a name typed under its type gets ".xlsx".
  connect(this, &QFileDialog::filterSelected, this, [this, workbooks](const QString& filter) {
    const bool workbook = filter == workbooks;
    encoding_->setEnabled(!workbook);
    setDefaultSuffix(workbook ? QStringLiteral("xlsx") : QString());
  });
  connect(this, &QFileDialog::accepted, this, [this, &profile] {
    setResultEncoding(profile, static_cast<TextEncoding>(encoding_->currentData().toInt()));
  });
}

}  // namespace sonvera::ui

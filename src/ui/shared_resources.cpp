#include "shared_resources.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QTranslator>

namespace sonvera::ui {
namespace {

QPixmap drawIcon(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const qreal s = size / 32.0;
  p.scale(s, s);
  // A rounded dark-blue tile.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x1f, 0x3b, 0x63));
  p.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);
  // Level bars, green to red.
  const QColor colours[] = {QColor(0x4c, 0xc3, 0x5a), QColor(0x4c, 0xc3, 0x5a), QColor(0xe8, 0xc5, 0x3a),
                            QColor(0xe8, 0x6a, 0x3a)};
  const qreal heights[] = {9, 15, 20, 12};
  for (int i = 0; i < 4; ++i) {
    p.setBrush(colours[i]);
    p.drawRect(QRectF(6 + i * 5.5, 27 - heights[i], 4, heights[i]));
  }
  // A sound wave across the bars.
  QPainterPath wave;
  wave.moveTo(4, 12);
  wave.cubicTo(9, 3, 13, 3, 16, 11);
  wave.cubicTo(19, 19, 23, 19, 28, 9);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(0xf2, 0xf6, 0xfa), 2.2, Qt::SolidLine, Qt::RoundCap));
  p.drawPath(wave);
  return pixmap;
}

QFont gridFont(QFont::Weight weight) {
  QFont font(QStringLiteral("Liberation Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(20);
  font.setWeight(weight);
  return font;
}

}  // namespace

QIcon applicationIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128, 256}) icon.addPixmap(drawIcon(size));
  return icon;
}

const SharedFonts& sharedFonts() {
  static const SharedFonts fonts{gridFont(QFont::Medium), gridFont(QFont::Bold), gridFont(QFont::Medium),
                                 gridFont(QFont::Bold)};
  return fonts;
}

QList<QKeySequence> copyKeys() {
  return {QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_Insert)};
}

void installRussianTranslations(QApplication& application) {
  auto* translator = new QTranslator(&application);
  if (translator->load(QLocale(QLocale::Russian), QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(translator);
  else
    delete translator;
}

}  // namespace sonvera::ui

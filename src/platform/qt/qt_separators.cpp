// Separators from the system locale.
#include "platform/qt/qt_separators.h"

#include <QLocale>

namespace tarnwipe {

Separators SystemSeparators() {
  const QLocale locale = QLocale::system();
  return {locale.groupSeparator().toStdString(), locale.decimalPoint().toStdString()};
}

}  // namespace tarnwipe

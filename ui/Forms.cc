#include "Forms.h"

#include <QMessageBox>
#include <QPointer>
#include <vector>

namespace {

std::vector<QPointer<QWidget>>& forms() {
  static std::vector<QPointer<QWidget>> list;
  return list;
}

}  // namespace

void adoptForm(QWidget* form) { forms().emplace_back(form); }

void releaseForms() {
  std::vector<QPointer<QWidget>> list;
  list.swap(forms());
  for (auto it = list.rbegin(); it != list.rend(); ++it) delete it->data();
}

QList<QWidget*> adoptedForms() {
  QList<QWidget*> alive;
  for (const QPointer<QWidget>& form : forms())
    if (form != nullptr) alive.append(form.data());
  return alive;
}

void reportFailure(QWidget* parent, const char* what) {
  QMessageBox box(QMessageBox::Critical, QStringLiteral("Tablomat"),
                  QStringLiteral("The command stopped: ") + QString::fromStdString(utf8ForDisplay(what)),
                  QMessageBox::Ok, parent);
  box.exec();
}

// Forms owned by the application: every form is created through createForm,
// stays alive after it closes and is released with the others when the
// program ends, newest first.
#pragma once

#include <exception>
#include <utility>

#include <QWidget>

#include "core/hstring.h"

void adoptForm(QWidget* form);
// Deletes every adopted form that still exists, in reverse order of creation.
void releaseForms();
// The adopted forms still alive, oldest first.
QList<QWidget*> adoptedForms();

template <class Form>
Form* createForm() {
  auto* form = new Form();
  adoptForm(form);
  return form;
}

// Tells the user what stopped a command; the program goes on.
void reportFailure(QWidget* parent, const char* what);

// Runs a command of a window.  A failing string operation ends the command,
// not the program: the user sees its message and keeps what the command had
// already shown.
template <class Command>
void guarded(QWidget* parent, Command&& command) {
  try {
    std::forward<Command>(command)();
  } catch (const HStringError& error) {
    reportFailure(parent, error.what());
  } catch (const std::exception& error) {
    reportFailure(parent, error.what());
  }
}

// Plain words beside the reading's error messages, which stay as they are:
// what the line should have held instead.
#pragma once

#include <QString>

// The hint for one message of the error list; empty when there is none.
QString errorHint(const QString& message);

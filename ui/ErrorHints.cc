#include "ErrorHints.h"

#include <QObject>
#include <QRegularExpression>

namespace {

// The symbol a message quotes, as in "Symbol 'x' bad." or "Terminal 'B' not exist.".
QString quoted(const QString& message) {
  static const QRegularExpression symbol(QStringLiteral("'([^']+)'"));
  QRegularExpressionMatch match = symbol.match(message);
  return match.hasMatch() ? match.captured(1) : QString();
}

}  // namespace

QString errorHint(const QString& message) {
  const QString symbol = quoted(message);
  auto has = [&](const char* text) { return message.contains(QLatin1String(text)); };
  if (has("Grammar Empty")) return QObject::tr("Expected at least one rule, such as S->aS|b.");
  if (has("not exist."))
    return QObject::tr("Expected a rule for %1: a capital letter is a non-terminal, and no line starts with %1. "
                       "Add a rule %1->..., or write a terminal in lower case.")
        .arg(symbol);
  if (has("must be non terminal."))
    return QObject::tr("Expected a capital letter A-Z first: the left side of a rule is one non-terminal.");
  if (has("must stand alone."))
    return QObject::tr("Expected e as a whole alternative (A->e|b): e is the empty word, not a symbol inside one.");
  if (has("reserved for the end of input")) return QObject::tr("Expected another character: $ marks the end of the input.");
  if (has("not supported."))
    return QObject::tr("Expected printable ASCII: every symbol is one character, capitals non-terminals, others terminals.");
  if (has("The last character '|'"))
    return QObject::tr("Expected an alternative after the last |: write e for the empty one (A->b|e).");
  if (has("|| incorrect")) return QObject::tr("Expected an alternative between the two |: write e for the empty one.");
  if (has("Symbol '|' bad")) return QObject::tr("Expected an alternative right after ->: write e for the empty one (A->e|b).");
  if (has("bad.")) return QObject::tr("Expected -> right after the left side, as in A->aB|e.");
  static const QRegularExpression lineOnly(QStringLiteral("^Error at line \\d+$"));
  if (lineOnly.match(message).hasMatch())
    return QObject::tr("Expected a rule: a capital letter, ->, and at least one symbol, as in A->a (this line is too short).");
  return {};
}

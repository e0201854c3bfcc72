#pragma once

// The small criteria language of Find and Filter: `field op value` joined by
// and / or, with parentheses; op is = <> < > <= >= or like; a value is a text
// in quotes (quotes doubled inside), a number, a #date# or null. Text compares
// without regard to case; like takes % or * for any run of characters and _
// for one character.

#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
#include <vector>

#include "host/fieldtype.h"

namespace incassi {

class Criteria {
  public:
    // Parses the criteria; throws Errore on a malformed text.
    static Criteria Parse(const QString& text);
    Criteria();
    ~Criteria();
    Criteria(Criteria&&) noexcept;
    Criteria& operator=(Criteria&&) noexcept;

    bool empty() const;
    // Field names used, as written.
    QStringList fields() const;

    // Evaluates against a row: `value(i)` returns the value of fields()[i].
    bool matches(const std::function<QVariant(int fieldIndex)>& value) const;

    // The criteria as an engine condition: `column(i)` gives the quoted column
    // for fields()[i]; the values are appended to `params` in order.
    QString toSql(const std::function<QString(int fieldIndex)>& column,
                  std::vector<QVariant>& params) const;

    struct Node;

  private:
    std::unique_ptr<Node> root_;
    QStringList fields_;
};

}  // namespace incassi

#include "data/logic/JetSql.h"

namespace jetsql {

Result<Query> translateSource(const QString&) { return Result<Query>::failure(QStringLiteral("sin implementar")); }
Result<Query> translateSelect(const QString&) { return Result<Query>::failure(QStringLiteral("sin implementar")); }
Result<Expr> translateCriterion(const QString&, const QStringList&)
{
    return Result<Expr>::failure(QStringLiteral("sin implementar"));
}
void registerFunctions(sqlite3*) {}

} // namespace jetsql

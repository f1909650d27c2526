#include "data/logic/RecordView.h"

// Placeholder bodies; the keyset cursor replaces them.
struct RecordView::Private
{
};

RecordView::RecordView(QObject* parent) : QObject(parent), d(std::make_unique<Private>()) {}
RecordView::~RecordView() = default;
void RecordView::setDatabase(std::shared_ptr<Database>) {}
std::shared_ptr<Database> RecordView::database() const { return nullptr; }
void RecordView::setRecordSource(const QString&) {}
QString RecordView::recordSource() const { return {}; }
void RecordView::setReadOnly(bool) {}
bool RecordView::isReadOnly() const { return false; }
Status RecordView::refresh() { return Status::failure(QStringLiteral("sin implementar")); }
void RecordView::close() {}
bool RecordView::isOpen() const { return false; }
Status RecordView::moveFirst() { return Status::failure(QStringLiteral("sin implementar")); }
Status RecordView::moveLast() { return Status::failure(QStringLiteral("sin implementar")); }
Status RecordView::moveNext() { return Status::failure(QStringLiteral("sin implementar")); }
Status RecordView::movePrevious() { return Status::failure(QStringLiteral("sin implementar")); }
bool RecordView::bof() const { return true; }
bool RecordView::eof() const { return true; }
int RecordView::absolutePosition() const { return -1; }
Status RecordView::setAbsolutePosition(int) { return Status::failure(QStringLiteral("sin implementar")); }
int RecordView::recordCount() const { return 0; }
QByteArray RecordView::bookmark() const { return {}; }
QByteArray RecordView::lastModified() const { return {}; }
Status RecordView::moveToBookmark(const QByteArray&) { return Status::failure(QStringLiteral("sin implementar")); }
Result<bool> RecordView::findFirst(const QString&) { return false; }
Result<bool> RecordView::findNext(const QString&) { return false; }
Result<bool> RecordView::findPrevious(const QString&) { return false; }
Result<bool> RecordView::findLast(const QString&) { return false; }
bool RecordView::noMatch() const { return true; }
int RecordView::fieldCount() const { return 0; }
QString RecordView::fieldName(int) const { return {}; }
int RecordView::fieldIndex(const QString&) const { return -1; }
QVariant RecordView::value(const QString&) const { return {}; }
QVariant RecordView::value(int) const { return {}; }
Status RecordView::setValue(const QString&, const QVariant&) { return Status::failure(QStringLiteral("sin implementar")); }
Status RecordView::setValue(int, const QVariant&) { return Status::failure(QStringLiteral("sin implementar")); }
Status RecordView::addNew() { return Status::failure(QStringLiteral("sin implementar")); }
Status RecordView::edit() { return Status::failure(QStringLiteral("sin implementar")); }
Status RecordView::update() { return Status::failure(QStringLiteral("sin implementar")); }
void RecordView::cancelUpdate() {}
Status RecordView::deleteCurrent() { return Status::failure(QStringLiteral("sin implementar")); }
RecordView::EditMode RecordView::editMode() const { return EditMode::None; }
bool RecordView::isDeleted() const { return false; }

#include "data/logic/RecordView.h"

struct RecordView::Private
{
};

RecordView::RecordView(QObject* parent) : QObject(parent), d(std::make_unique<Private>()) {}
RecordView::~RecordView() = default;

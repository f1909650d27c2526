#pragma once

#include <QString>

namespace diagnostico {

// The plain text of a memo: the rich text (HTML) that the observation boxes store becomes its
// paragraphs separated by line breaks, with the markup dropped and the entities decoded, as a
// rich-text box would hand it over; a memo that is not rich text comes back as it is.
QString textoPlano(const QString& memo);

} // namespace diagnostico

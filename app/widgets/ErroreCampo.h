#pragma once
// Shows a field error: the box turns red with white text and takes the focus, the message
// appears in an "Errore" box, then the box takes the focus colour and the focus again.

#include <QString>

class QWidget;

namespace quercino {

// message comes back centred with blanks when it is shorter than 50 characters.
void ErroreCampo(QWidget* control, QString& message);
void ErroreCampo(QWidget* control, const QString& message);

// The centring of ErroreCampo: k = 50 - length / 2 (rounded half to even) blanks on each
// side of a message shorter than 50 characters; longer ones are unchanged.
QString CentraMessaggio(const QString& message);

} // namespace quercino

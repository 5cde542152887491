#include "icone.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "aspetto.h"

namespace vorlane::ui {
namespace {

// Every picture is drawn on a 64 x 64 grid and scaled.
constexpr qreal kGriglia = 64.0;

const QColor kBasi[] = {QColor(0x3C, 0x9D, 0x4E), QColor(0x2F, 0x6F, 0xB5),
                        QColor(0xE0, 0xA0, 0x20), QColor(0xC0, 0x39, 0x2B)};
const QColor kGrigio(0xB8, 0xC4, 0xC4);
const QColor kInchiostro(0x33, 0x44, 0x44);
const QColor kRosso(0xC0, 0x39, 0x2B);

// A row of base squares; `mutata` (or -1) is drawn in red with a frame.
void filaBasi(QPainter& p, qreal x, qreal y, int n, qreal lato, bool grigia, int mutata = -1) {
  for (int i = 0; i < n; ++i) {
    QRectF r(x + i * (lato + 2), y, lato, lato);
    QColor c = grigia ? kGrigio : kBasi[(i * 3 + 1) % 4];
    if (i == mutata) c = kRosso;
    p.setPen(Qt::NoPen);
    p.setBrush(c);
    p.drawRoundedRect(r, 2, 2);
    if (i == mutata) {
      p.setPen(QPen(kInchiostro, 2.2));
      p.setBrush(Qt::NoBrush);
      p.drawRoundedRect(r.adjusted(-2, -2, 2, 2), 2.5, 2.5);
    }
  }
}

// A line of sequence text: thick segments in the colours of the bases.
void lineaSequenza(QPainter& p, qreal x, qreal y, qreal lunghezza, int primo) {
  const qreal pezzo = lunghezza / 3;
  for (int i = 0; i < 3; ++i) {
    p.setPen(QPen(kBasi[(primo + i) % 4], 5, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(x + i * pezzo, y), QPointF(x + (i + 1) * pezzo - 1.5, y));
  }
}

// A page with a folded corner.
void foglio(QPainter& p, const QRectF& r, const QColor& bordo) {
  const qreal piega = r.width() * 0.28;
  QPainterPath pagina;
  pagina.moveTo(r.topLeft());
  pagina.lineTo(r.right() - piega, r.top());
  pagina.lineTo(r.right(), r.top() + piega);
  pagina.lineTo(r.bottomRight());
  pagina.lineTo(r.bottomLeft());
  pagina.closeSubpath();
  p.setPen(QPen(bordo, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::white);
  p.drawPath(pagina);
  QPainterPath angolo;
  angolo.moveTo(r.right() - piega, r.top());
  angolo.lineTo(r.right() - piega, r.top() + piega);
  angolo.lineTo(r.right(), r.top() + piega);
  p.setBrush(kColoreChiaro);
  p.drawPath(angolo);
}

void righeTesto(QPainter& p, const QRectF& r, int n, const QColor& c) {
  p.setPen(QPen(c, 2.6, Qt::SolidLine, Qt::RoundCap));
  for (int i = 0; i < n; ++i) {
    qreal y = r.top() + i * r.height() / qMax(1, n - 1);
    qreal fine = r.right() - (i % 2 ? r.width() * 0.25 : 0);
    p.drawLine(QPointF(r.left(), y), QPointF(fine, y));
  }
}

void tabella(QPainter& p, const QRectF& r) {
  p.setPen(QPen(kColoreScuro, 2));
  p.setBrush(Qt::white);
  p.drawRect(r);
  p.fillRect(QRectF(r.left(), r.top(), r.width(), r.height() / 4), kColoreVerde);
  p.setPen(QPen(kColoreScuro, 1.4));
  for (int i = 1; i < 4; ++i) {
    qreal y = r.top() + i * r.height() / 4;
    p.drawLine(QPointF(r.left(), y), QPointF(r.right(), y));
  }
  qreal x = r.left() + r.width() * 0.4;
  p.drawLine(QPointF(x, r.top()), QPointF(x, r.bottom()));
  p.setPen(QPen(kColoreScuro, 2));
  p.setBrush(Qt::NoBrush);
  p.drawRect(r);
}

void freccia(QPainter& p, QPointF da, QPointF a) {
  p.setPen(QPen(kColoreVerde, 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawLine(da, a);
  QPointF d = a - da;
  qreal l = std::hypot(d.x(), d.y());
  QPointF u = d / l, n(-u.y(), u.x());
  QPolygonF punta{a + u * 3, a - u * 8 + n * 7, a - u * 8 - n * 7};
  p.setPen(Qt::NoPen);
  p.setBrush(kColoreVerde);
  p.drawPolygon(punta);
}

void controlloMutazioni(QPainter& p) {
  filaBasi(p, 3, 6, 5, 10, false, 2);
  p.setPen(QPen(kInchiostro, 5));
  p.setBrush(QColor(255, 255, 255, 110));
  p.drawEllipse(QPointF(30, 34), 13, 13);
  p.setPen(QPen(kInchiostro, 8, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(40, 44), QPointF(55, 59));
}

void normalizza(QPainter& p) {
  tabella(p, QRectF(2, 4, 30, 26));
  freccia(p, QPointF(14, 36), QPointF(27, 50));
  foglio(p, QRectF(32, 18, 29, 43), kColoreScuro);
  for (int i = 0; i < 3; ++i) lineaSequenza(p, 37, 33 + i * 9, 19, i);
}

void convertiInTabella(QPainter& p) {
  foglio(p, QRectF(3, 3, 29, 43), kColoreScuro);
  for (int i = 0; i < 3; ++i) lineaSequenza(p, 8, 18 + i * 9, 19, i);
  freccia(p, QPointF(24, 48), QPointF(35, 57));
  tabella(p, QRectF(34, 30, 27, 24));
}

// The reference in grey above the samples; `campioni` rows under it.
void confronto(QPainter& p, int campioni) {
  filaBasi(p, 3, 4, 5, 10, true);
  const qreal passo = campioni == 1 ? 0 : 13;
  const qreal inizio = campioni == 1 ? 28 : 22;
  for (int i = 0; i < campioni; ++i)
    filaBasi(p, 3, inizio + i * passo, 5, 10, false, (i * 2 + 1) % 5);
  p.setPen(QPen(kInchiostro, 2, Qt::DashLine));
  p.drawLine(QPointF(2, 18), QPointF(62, 18));
}

// The motif table's buttons carry a round badge with an "M".
void distintivoMotivi(QPainter& p) {
  QRectF cerchio(38, 38, 24, 24);
  p.setPen(QPen(Qt::white, 2));
  p.setBrush(kColoreScuro);
  p.drawEllipse(cerchio);
  QFont f = fontTrebuchet(10, true);
  f.setPixelSize(15);
  p.setFont(f);
  p.setPen(Qt::white);
  p.drawText(cerchio, Qt::AlignCenter, QStringLiteral("M"));
}

void manuale(QPainter& p) {
  QRectF sinistra(6, 12, 26, 40), destra(32, 12, 26, 40);
  p.setPen(QPen(kColoreScuro, 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::white);
  p.drawRect(sinistra);
  p.drawRect(destra);
  righeTesto(p, QRectF(10, 20, 18, 24), 4, kGrigio);
  QFont f = fontTrebuchet(10, true);
  f.setPixelSize(30);
  p.setFont(f);
  p.setPen(kColoreVerde);
  p.drawText(destra, Qt::AlignCenter, QStringLiteral("?"));
}

void esci(QPainter& p) {
  p.setPen(QPen(kInchiostro, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(kColoreChiaro);
  p.drawRect(QRectF(8, 6, 30, 52));
  QPolygonF anta{QPointF(8, 6), QPointF(26, 12), QPointF(26, 62), QPointF(8, 58)};
  p.setBrush(kColoreVerde);
  p.drawPolygon(anta);
  p.setBrush(Qt::white);
  p.drawEllipse(QPointF(21, 35), 2, 2);
  freccia(p, QPointF(32, 32), QPointF(58, 32));
}

// The mitochondrial genome as a double ring, its control region (the d-loop) picked out on top.
void logo(QPainter& p) {
  QRectF anello(6, 6, 52, 52);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(kColoreVerde, 7));
  p.drawEllipse(anello);
  p.setPen(QPen(Qt::white, 1.6));
  p.drawEllipse(anello);
  p.setPen(QPen(QColor(0xE0, 0x8A, 0x20), 9, Qt::SolidLine, Qt::FlatCap));
  p.drawArc(anello, 55 * 16, 70 * 16);
  p.setPen(QPen(kColoreScuro, 1.5));
  for (int i = 0; i < 12; ++i) {
    p.save();
    p.translate(32, 32);
    p.rotate(i * 30 + 15);
    p.drawLine(QPointF(0, -19), QPointF(0, -15));
    p.restore();
  }
  QFont f = fontTrebuchet(10, true);
  f.setPixelSize(17);
  p.setFont(f);
  p.setPen(kColoreScuro);
  p.drawText(QRectF(6, 16, 52, 34), Qt::AlignCenter, QStringLiteral("mt"));
}

void fasta(QPainter& p) {
  foglio(p, QRectF(8, 3, 48, 58), QColor(0x2F, 0x6F, 0xB5));
  QFont f = fontTrebuchet(10, true);
  f.setPixelSize(22);
  p.setFont(f);
  p.setPen(QColor(0x2F, 0x6F, 0xB5));
  p.drawText(QRectF(12, 6, 16, 22), Qt::AlignCenter, QStringLiteral(">"));
  p.setPen(QPen(kInchiostro, 4, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(28, 17), QPointF(38, 17));
  for (int i = 0; i < 3; ++i) lineaSequenza(p, 15, 31 + i * 10, 34, i);
}

void arlequin(QPainter& p) {
  const QColor bruno(0xB0, 0x5A, 0x1E);
  foglio(p, QRectF(8, 3, 48, 58), bruno);
  for (int r = 0; r < 4; ++r) {
    qreal y = 19 + r * 11;
    p.setPen(QPen(kInchiostro, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(14, y), QPointF(19, y));
    p.setPen(QPen(bruno, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(25, y), QPointF(26, y));
    lineaSequenza(p, 31, y, 20, r);
  }
}

void disegna(QPainter& p, Disegno d) {
  switch (d) {
    case Disegno::ControlloMutazioni:
      return controlloMutazioni(p);
    case Disegno::Normalizza:
      return normalizza(p);
    case Disegno::ConvertiInTabella:
      return convertiInTabella(p);
    case Disegno::ConfrontaSingolo:
      return confronto(p, 1);
    case Disegno::ConfrontaMultiplo:
      return confronto(p, 3);
    case Disegno::ConfrontaSingoloMotivi:
      confronto(p, 1);
      return distintivoMotivi(p);
    case Disegno::ConfrontaMultiploMotivi:
      confronto(p, 3);
      return distintivoMotivi(p);
    case Disegno::VisualizzaManuale:
      return manuale(p);
    case Disegno::Esci:
      return esci(p);
    case Disegno::Logo:
      return logo(p);
    case Disegno::Fasta:
      return fasta(p);
    case Disegno::Arlequin:
      return arlequin(p);
  }
}

}  // namespace

QPixmap disegno(Disegno d, int lato, qreal rapportoPixel) {
  QPixmap pixmap(QSize(lato, lato) * rapportoPixel);
  pixmap.setDevicePixelRatio(rapportoPixel);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.scale(lato / kGriglia, lato / kGriglia);
  disegna(p, d);
  return pixmap;
}

QIcon icona(Disegno d) {
  QIcon i;
  for (int lato : {16, 24, 32, 48, 64}) i.addPixmap(disegno(d, lato));
  return i;
}

QIcon iconaProgramma() {
  QIcon i;
  for (int lato : kLatiIconaProgramma) i.addPixmap(disegno(Disegno::Logo, lato));
  return i;
}

}  // namespace vorlane::ui

#pragma once

#include <QDateTime>
#include <QString>

// One coal as it lies in the yard, or one blend computed from several coals.
// Index values, stock and shovel weight travel as text made by the value text
// rule (FormatIndexValue); the empty text means "not given". The price is a
// double rounded to two decimals. The record does no checking of its own.
struct Mei {
    int id = 0;              // record number in its table; 0 = not yet stored
    QDateTime Riqi;          // time of the last save from the editor
    double JiaGe = 0.0;      // price
    qint16 LeiXing = 0;      // 1 = blended as a raw coal (recovery rate given)

    QString MingCheng;       // name
    QString Kucun;           // stock in tons
    QString MeiChan;         // tons per shovel

    // The fifteen quality indices, in the order of the index table.
    QString neishui;        // inherent moisture
    QString ShuiFen;        // total moisture
    QString ReLiang;        // net calorific value
    QString GaoWeiReLiang;  // gross calorific value
    QString fenxiji;        // analysis-basis figure
    QString Liu;            // sulphur
    QString HuiFen;         // ash
    QString HuiFaFen;       // volatile matter
    QString HuiFaFenVdaf;   // volatile matter, dry ash-free basis
    QString G;              // caking index G
    QString Y;              // plastic layer Y
    QString gudingtan;      // fixed carbon
    QString kemoxing;       // grindability
    QString huirongdian;    // ash fusion point
    QString Huishou;        // recovery rate

    bool operator==(const Mei&) const = default;
};

// The help text the settings form shows beside the twelve rows, and the tips
// of the settings area.
#include "settings/dialog/form_layout.h"

#include <algorithm>
#include <array>

namespace tesra {
namespace {

// Memo1, one entry per line. An entry of one ideographic space is a blank line
// that still holds a character, as the form shows it.
constexpr std::string_view kHelpLines[] = {
    // clang-format off
    "指示した２点間に", "指示した図形を等分に", "１つ又は複数作図を行い",
    "飾り罫線等を表現します。", "　", "12種類のパターンを設定・", "保持することが出来ます。",
    "状況に応じて画面左側の", "○スイッチにチェックを", "入れて利用して下さい。", "　",
    "図形の種類、図形の", "大きさを示す幅・高さを", "入力して下さい。", "単位は図寸mmです。",
    "※バッチファイルの", "　REM #bz　を無効に", "　すると実寸mm指示", "　となります。", "　",
    "図形の配置方法を", "　「間隔指定」", "　「均等配置」", "のいずれかで指示", "して下さい。",
    "指定2点と丁度にならない", "場合、", "　間隔指定を行った場合は", "　　両端に間隔が自動追加",
    "　均等配置を行った場合は", "　　各間隔値が自動追加", "されます。", "　", "基準点には、以下の",
    "　　上", "　　中", "　　下", "のいずれかを指示して", "下さい。", "　", "上線・中線・下線には",
    "　　なし", "　　間隔", "　　全長", "のいずれかを指示して", "下さい。",
    "「間隔」を指示すると、", "図形と図形の間に線を", "作図します。（図形幅内",
    "に線は作図しません）", "「全長」を指示すると、", "指示２点間にそれぞれの",
    "線を作図します。（図形", "の横線と重なる場合は", "重複線となります）", "　",
    "※指示２点の傾き角度", "　＋90°を上", "　反対側を下", "　とします。", "　",
    "※各線の連結処理・", "　重複処理は", "　行われませんので", "　御注意下さい。", "　",
    "※複数点指示の際、", "　途中の指示点を", "　同一点指示", "　しないで下さい。", "　",
    "※複数点指示の際、", "　上線・中線・下線で", "　「全長」指示", "　を行っている場合は",
    "　その上線同士・", "　中線同士・下線同士", "　のコーナー処理は", "　行いますが、それ以外",
    "　各線のコーナー処理は", "　行われませんので", "　御注意下さい。", "　（コーナー処理により",
    "　長くなった部分の図形の", "　作図は行われません）", "　", "◆ブロック図形内のものは",
    "　処理出来ませんので", "　御注意下さい。", "　ブロック編集内で行う", "　場合には、本ソフトを",
    "　Jw_cadのインストール・", "　フォルダに配置して", "　実行を行う必要がある",
    "　場合があります。", "　",
    "◆表示中の行の設定", "（帯の下の欄）", "　並べ方：経路に沿った", "　　図形の並べ方", "　描く側：閉じた経路の",
    "　　内側か外側か", "　向き：経路に沿うか", "　　正立か", "　種類：装飾線か法面か", "　間隔：法面の線の間隔",
    "　長短：長い線Ｌと", "　　短い線Ｓの繰り返し", "　短い線：法面の幅に", "　　対する長さの割合", "　長い線：法尻がない",
    "　　ときの線の長さ", "　図形Ｂ・幅・高さ：", "　　２つ目の図形", "　並び：ＡとＢの順", "　　（例 ＡＡＢ）",
    "　縦横比を保つ：登録", "　　図形を伸ばさない", "　要素の色：登録図形を", "　　元の線色で描く",
    "　図形・上線・中線・", "　　下線：それぞれを", "　　描く線色と線種", "　曲げる：図形を経路の",
    "　　曲がりに沿わせる",
    // clang-format on
};

struct Tip {
    std::string_view label;
    std::string_view text;
};

// One sentence per setting of the area, shown over its label and its control.
constexpr Tip kTips[] = {
    // clang-format off
    {"LabelArrange",    "経路に沿って図形をどう並べるかを選びます。辺ごと、曲がり角をまたいで通し、角に合わせる、のいずれかです。"},
    {"LabelSide",       "閉じた経路で、図形の帯を内側と外側のどちらに描くかを選びます。指示どおりは、点を指示した向きのまま描きます。"},
    {"LabelOrient",     "図形を経路の向きに合わせて回すか、用紙に対して正立させるかを選びます。"},
    {"LabelKind",       "この行で飾り罫線を描くか、法面の線（ひげ）を描くかを選びます。"},
    {"LabelPitch",      "法面の線を引く間隔の上限です（mm）。"},
    {"LabelRhythm",     "法面の長い線Lと短い線Sを並べる順で、8文字までです（例: LS、LSS）。"},
    {"LabelShortRatio", "短い線の長さを、法面の幅に対する割合で指定します（0より大きく1以下）。"},
    {"LabelTickLength", "法尻を選ばなかったときの、長い線の長さです（mm）。"},
    {"CheckBoxDrawTop", "法面の線に加えて、法肩の線そのものも描きます。"},
    {"LabelFigureB",    "並びにBがあるとき、Aの図形と交互に描く2つ目の図形です。"},
    {"LabelWB",         "図形Bの幅です（mm）。"},
    {"LabelHB",         "図形Bの高さです（mm）。"},
    {"LabelSequence",   "図形AとBを描く順で、8文字までです（例: AAB）。空ならAだけを描きます。"},
    {"CheckBoxFit",     "登録図形を枠に合わせて伸ばさず、縦横比を保って描きます。"},
    {"CheckBoxElementColors", "登録図形を、登録したときの各要素の線色で描きます。"},
    {"LabelPenFigure",  "図形を描く線色と線種です。現在の線色・線種は、Jw_cadで選んでいる線のままです。"},
    {"LabelPenUpper",   "上線を描く線色と線種です。現在の線色・線種は、Jw_cadで選んでいる線のままです。"},
    {"LabelPenMiddle",  "中線を描く線色と線種です。現在の線色・線種は、Jw_cadで選んでいる線のままです。"},
    {"LabelPenLower",   "下線を描く線色と線種です。現在の線色・線種は、Jw_cadで選んでいる線のままです。"},
    {"CheckBoxBend",    "図形を経路の曲がりに沿って曲げて描きます。直線の上では曲げないときと同じで、正立の図形は曲げません。"},
    {"LabelRows",       "使う行を選びます。矢印キーで行を移せます。"},
    {"Label2",          "ソリッド任意色の色です。クリックするか、SpaceかEnterで色を選べます。"},
    // clang-format on
};

}  // namespace

std::span<const std::string_view> HelpLines() { return kHelpLines; }

std::string_view TipOf(std::string_view labelName) {
    const auto at = std::ranges::find(kTips, labelName, &Tip::label);
    return at == std::end(kTips) ? std::string_view() : at->text;
}

}  // namespace tesra

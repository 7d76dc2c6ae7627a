#include "tools/make_demo/settings_files.h"

#include "tools/make_demo/data_file.h"
#include "tools/make_demo/line_files.h"

namespace kestrel::demo {

namespace {

void railvane(Assets& a) {
  DataFile d;
  d.comment("鉄道運転シミュレータ 設定ファイル");
  d.comment("[Disp]: 1秒あたりのタイマー回数,映像フレーム数の倍率 / 時刻表のx位置 / 画面の幅 / 映像の高さ / 運転台の高さ");
  d.line("[Disp]").line("30,1").line("800").line(num(kViewWidth)).line(num(kViewHeight)).line(num(kPanelHeight));
  d.line("[Path]").line("movie\\");
  d.blank();
  d.comment("逆転ハンドル");
  d.line("[Forward]").line("前進").line("[Neutral]").line("中立").line("[Reverse]").line("後退");
  d.comment("次駅の表示");
  d.line("[Stop]").line("停車").line("[Pass]").line("通過").line("[Stop2]").line("運転停車");
  d.comment("ブレーキとノッチの表示");
  d.line("[Neut]").line("緩め").line("[Neut2]").line("切");
  d.line("[Apply]").line("常用").line("[Maintain]").line("重なり").line("[Remove]").line("ユルメ").line("[Hold]").line("保ち");
  d.line("[Hold2]").line("抑速").line("[EB]").line("非常").line("[Const]").line("定速");
  d.line("[Cars]").line("両編成").line("[TC]").line("車掌");
  d.line("[Stops]").line("停車します").line("通過します");
  d.comment("ドア選択（PageUp / PageDown）");
  d.line("[Doors]").line("左側ドア選択").line("右側ドア選択");
  d.line("[Gears]").line("中立").line("変速").line("直結");
  d.blank();
  d.comment("案内文（8行目からは運転中の注意）");
  d.line("[InfoLabel]");
  for (const char* t : {"運転を始めます", "停車駅です", "通過駅です", "時刻どおりです", "遅れています", "早く着きました", "終点です",
                        "ホームは左側です。PageUp で左側のドアを選んでください",
                        "ホームは右側です。PageDown で右側のドアを選んでください",
                        "停車中です。ノッチを切ってください",
                        "ATS のブレーキが動作しています",
                        "ATS のブレーキで停車しました。ブレーキを非常にして R キーで復帰してください",
                        "ATS が鳴っています。スペースキーで確認してください",
                        "EB 装置が動作します。ハンドルを操作してください",
                        "注意信号です。55km/h 以下に落としてください",
                        "減速信号です。75km/h 以下に落としてください",
                        "警戒信号です。25km/h 以下に落としてください",
                        "停車駅が近づいています。ブレーキをかけてください",
                        "運転士の操作を待っています",
                        "ATS が切られています",
                        "終点です。Backspace で折り返せます"})
    d.line(t);
  d.end();
  d.comment("メニューの表題");
  d.line("[Start]").line("運転開始(&S)").line("[Move]").line("駅移動(&M)").line("[Display]").line("表示(&D)");
  d.line("[Control]").line("コントローラ(&C)").line("[Save]").line("保存(&S)");
  d.write(a.pathOf("railvane.dat"));
}

void mascon(Assets& a) {
  DataFile d;
  for (int i = 1; i <= 6; ++i) d.line("MCP0" + num(i));
  d.line("MCN00");
  for (int i = 1; i <= 9; ++i) d.line("MCB0" + num(i));
  for (const char* t : {"MCRF0", "MCRN0", "MCRB0", "MCATS", "MCHRN", "MCDOR", "MCANN"}) d.line(t);
  d.end();
  d.line("シリアルマスコンのコマンド表（1行1コマンド、先頭5文字で照合）:");
  d.line("1-6 力行1-6, 7 切, 8-16 ブレーキ1-9, 17-19 前進・中立・後退, 20 ATS確認, 21 警笛, 22 ドア, 23 放送");
  d.write(a.pathOf("mascon.dat"));
}

void operation(Assets& a) {
  DataFile d;
  d.line("操作説明");
  for (const char* t :
       {"【ハンドル】", "8 / マウスホイール下: 力行側へ", "2 / マウスホイール上: ブレーキ側へ", "5: ハンドルを切・緩めに",
        "0: 非常ブレーキ", "ワンハンドル車: z 力行側 a ブレーキ側 q 非常", "ツーハンドル車: z a 力行  , . ブレーキ  / 非常",
        "9 / w: 力行モード切替（ハンドル切のとき）", "t: 定速（対応車両）", "", "【逆転ハンドル】", "f 前進  n 中立  b 後退（停車中）", "",
        "【その他】", "3 警笛  6 空気笛  4 ブザー", "d / 7: ドア開閉（ワンマン線区）", "c / 1: 次の放送  -: 前の放送",
        "スペース: ATS確認（ATS-S形）", "r: ATS復帰（非常ブレーキで停車中）", "Enter: 喚呼", "PageUp / PageDown: 左右ドア選択",
        "Backspace: 終点で折り返し", "F3: 数値表示", "Shift+↑↓: 運転台の位置", "ScrollLock: 2 と 8 を入れ替え", "",
        "【気動車】", "F2 長押し: エンジン始動  Shift+F2: 停止", "x 変速  w 直結  s 中立（手動変速）", "",
        "停車のこつ: 停止位置の手前 200m で速度を 45km/h 程度に落とし、",
        "残り距離の棒グラフを見ながらブレーキを弱めていきます。", "停止線（赤）が画面の下端に来たところで止まります。"})
    d.line(t);
  d.write(a.pathOf("operation.dat"));
}

}  // namespace

void writeSettingsFiles(Assets& assets) {
  railvane(assets);
  mascon(assets);
  operation(assets);
  writeBytes(assets.pathOf("readme.html"), readmeHtml());
}

}  // namespace kestrel::demo

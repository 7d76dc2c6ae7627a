// The user manual shipped as readme.html (opened from the title screen's help image).
#include "tools/make_demo/settings_files.h"

namespace kestrel::demo {

const char* readmeHtml() {
  return R"html(<!DOCTYPE html>
<html lang="ja">
<head>
<meta charset="utf-8">
<title>鉄道運転シミュレータ 取扱説明書</title>
<style>
body { font-family: "Meiryo UI", "IPAGothic", sans-serif; max-width: 52em; margin: 2em auto; line-height: 1.6; }
table { border-collapse: collapse; } th, td { border: 1px solid #888; padding: 0.2em 0.6em; text-align: left; }
th { background: #e8eef8; } h2 { border-bottom: 2px solid #4060a0; } kbd { border: 1px solid #999; padding: 0 0.3em; border-radius: 3px; }
.note { background: #fff8d8; padding: 0.5em 1em; }
</style>
</head>
<body>
<h1>鉄道運転シミュレータ 取扱説明書</h1>
<p>運転台から見た前面展望の映像に合わせて、列車を運転するシミュレータです。速度に応じて映像が進み、
信号・ATS・駅の停車・時刻表があります。このフォルダには架空の「鷹見線」(鷹見〜鳥羽台、約7.6km、7駅) と
4種類の車両が入っています。</p>

<h2>1. タイトル画面</h2>
<ol>
<li>起動するとオープニング映像が流れます。クリックするとタイトル画面になります。</li>
<li>タイトル画面をクリックすると路線の選択画面になります。</li>
<li>路線 (特急・快速・普通) をクリックすると、その路線で運転できる列車が表示されます。列車をクリックすると運転が始まります。</li>
<li><kbd>Shift</kbd> を押しながら路線をクリックすると、3つの列車のどれでも選べます。</li>
<li>路線や列車の絵を右クリックすると、ファイルを選ぶ画面が開き、任意の車両ファイル (*.dat) で運転できます。
気動車 <code>train_kiha25.dat</code> はこの方法で選びます。</li>
<li>「？」の絵でこの説明書が開きます。「戻る」でタイトル画面へ、「終了」でプログラムを終わります。</li>
</ol>
<table>
<tr><th>路線</th><th>ファイル</th><th>停車駅</th><th>標準の列車</th></tr>
<tr><td>特急</td><td>line_exp.dat</td><td>鷹見・川端・鳥羽台 (ほかは通過)</td><td>383系 6両</td></tr>
<tr><td>快速</td><td>line_rapid.dat</td><td>鷹見・桜台・緑町・鳥羽台。先行の普通列車がいるので信号に注意</td><td>313系 8両</td></tr>
<tr><td>普通</td><td>line_local.dat</td><td>各駅。ワンマン運転 (ドアと車内放送は運転士が扱います)</td><td>313系 10両</td></tr>
</table>

<h2>2. 運転台の見方</h2>
<p>画面の上が前面の映像、下が運転台です。左から速度計 (デジタル速度付き)、ブレーキシリンダ圧 (赤) と元空気だめ圧の計器、
電圧計、電流計、車内信号、時計、表示灯、右にノッチとブレーキの表示があります。映像の上には信号機、停止位置目標、
勾配標、速度制限標、停止位置までの残り距離の棒グラフ、停止位置ライン (青・赤・青) が重なります。</p>

<h2>3. キー操作</h2>
<table>
<tr><th>キー</th><th>働き</th></tr>
<tr><td><kbd>8</kbd> / マウスホイール下</td><td>ハンドルを力行側へ1段 (ブレーキを緩め、力行ノッチを上げる)</td></tr>
<tr><td><kbd>2</kbd> / マウスホイール上</td><td>ハンドルをブレーキ側へ1段 (常用最大でホイール上は非常)</td></tr>
<tr><td><kbd>5</kbd></td><td>力行もブレーキも切</td></tr>
<tr><td><kbd>0</kbd></td><td>非常ブレーキ (力行も切)</td></tr>
<tr><td><kbd>z</kbd> <kbd>a</kbd> <kbd>q</kbd></td><td>ワンハンドル車: 力行側・ブレーキ側・非常</td></tr>
<tr><td><kbd>z</kbd> <kbd>a</kbd> / <kbd>,</kbd> <kbd>.</kbd> / <kbd>/</kbd></td><td>ツーハンドル車: 力行を上げる・下げる / ブレーキを緩める・かける / 非常</td></tr>
<tr><td><kbd>f</kbd> <kbd>n</kbd> <kbd>b</kbd></td><td>逆転ハンドル 前進・中立・後退 (停車中だけ)</td></tr>
<tr><td><kbd>9</kbd> / <kbd>w</kbd></td><td>力行モードの切り替え (ハンドルが切のとき)</td></tr>
<tr><td><kbd>t</kbd></td><td>定速 (383系: 最大ノッチ・60km/h以上)</td></tr>
<tr><td><kbd>3</kbd> <kbd>6</kbd> <kbd>4</kbd></td><td>警笛・空気笛・ブザー</td></tr>
<tr><td><kbd>d</kbd> / <kbd>7</kbd></td><td>ドアの開閉 (ワンマン線区)</td></tr>
<tr><td><kbd>c</kbd> / <kbd>1</kbd>、<kbd>-</kbd></td><td>次の車内放送、前の放送 (ワンマン線区)</td></tr>
<tr><td><kbd>PageUp</kbd> / <kbd>PageDown</kbd></td><td>左側・右側のドアを選ぶ (ドアが閉まっているとき)</td></tr>
<tr><td>スペース</td><td>ATS確認扱い (ATS-S形の車両)</td></tr>
<tr><td><kbd>r</kbd></td><td>ATS復帰 (非常ブレーキで停車しているとき)</td></tr>
<tr><td><kbd>Enter</kbd></td><td>喚呼 (信号・踏切・速度制限)</td></tr>
<tr><td><kbd>Backspace</kbd></td><td>終点の車止めの手前で停車中に折り返す</td></tr>
<tr><td><kbd>ScrollLock</kbd></td><td><kbd>2</kbd> と <kbd>8</kbd> の働きを入れ替える</td></tr>
<tr><td><kbd>Shift</kbd>+<kbd>↑</kbd> <kbd>↓</kbd></td><td>運転台の表示位置を上下に動かす</td></tr>
<tr><td><kbd>F3</kbd></td><td>数値表示ウィンドウの表示・非表示</td></tr>
<tr><td><kbd>F2</kbd> 長押し / <kbd>Shift</kbd>+<kbd>F2</kbd></td><td>気動車のエンジン始動 (5秒押し続ける) / 停止</td></tr>
<tr><td><kbd>x</kbd> <kbd>w</kbd> <kbd>s</kbd></td><td>気動車 (手動変速): 変速・直結・中立</td></tr>
<tr><td><kbd>F1</kbd>、<kbd>Shift</kbd>+<kbd>F1</kbd>〜<kbd>F12</kbd></td><td>デバッグ用 (自動運転、速度・時刻・位置の変更、次の信号へ)</td></tr>
</table>

<h2>4. メニュー</h2>
<table>
<tr><th>メニュー</th><th>内容</th></tr>
<tr><td>運転開始 / 一時停止</td><td>運転を止めたり再開したりします。画面をクリックしても再開します。</td></tr>
<tr><td>駅移動</td><td>選んだ駅の発車前に移動します (終点を除く停車駅)。</td></tr>
<tr><td>表示</td><td>操作説明、解説なし、かんたん運転台、喚呼なし、停止位置ラインを表示しない、文字表示モード切り替え</td></tr>
<tr><td>コントローラ</td><td>標準/QXマスコン、電車でGO!コントローラ (Windows用・PS用)、三鶯重工 OHC-PC01、デバッグオプション、QXマスコンの設定と接続</td></tr>
<tr><td>保存</td><td>運転状態の保存と復元 (3つまで)</td></tr>
</table>

<h2>5. 運転のしかた</h2>
<ol>
<li>運転が始まるとドアが開いていて、発車メロディが流れます。メロディが終わる時刻が発車時刻です。
ワンマンの普通列車では <kbd>d</kbd> でドアを閉めます。出発信号が進行になったら発車します。</li>
<li>逆転ハンドルは前進 (<kbd>f</kbd>) です。ブレーキを緩めて力行ノッチを入れます (<kbd>8</kbd> を数回)。</li>
<li>速度制限標と信号に従って走ります。注意 (黄) は 55km/h、減速 (黄と緑) は 75km/h、警戒 (黄2つ) は 25km/h 以下です。</li>
<li>ハンドルから1分間手を離していると EB 装置のベルが鳴ります。ハンドルを動かすと止まります。</li>
</ol>
<h3>駅に止まるには</h3>
<ol>
<li>停車駅の手前では ATS-P の停車駅パターンが出ます。速度超過でブレーキが動作します。</li>
<li>残り 400m 付近で力行を切り、残り 300m で B3〜B4 をかけます。100km/h からなら常用最大 (B7) の約 4km/h/s で約 100m で止まれます。</li>
<li>右上の停止位置目標と右端の残り距離の棒グラフを見ます。棒が下まで来たら残り 20m、そこから目盛りが10倍になります。</li>
<li>残り 20m で 15km/h 程度に落とし、ブレーキを B1〜B2 に弱めて、赤い停止位置ラインが画面の下端に来たところで止まります。
停止範囲は前後 5m です。</li>
<li>止まったらドアが開きます (ワンマン線区では <kbd>d</kbd>)。時刻表 (右上のスタフ) の発車時刻を待ちます。</li>
</ol>
<div class="note">ATS のブレーキで止まったら、ブレーキを非常 (<kbd>0</kbd>) にしてから <kbd>r</kbd> で復帰します。</div>

<h2 id="ats-sounds">6. ATS と力行ハンドルの音 (Sounds of the ATS and the power handle)</h2>
<h3>力行ハンドルの音</h3>
<ul>
<li>力行ハンドルを動かすたびにノッチの音 (車両ファイルの <code>[Sound_PA]</code>) が鳴ります。上げたときは上げた先のノッチの音、
下げたときは下げる前のノッチの音です。同じ音が鳴っている間は重ねて鳴らしません。</li>
<li>力行しているときにハンドルを「切」に戻すと、それまで効いていたノッチの「切」の音が鳴ります。
車両ファイルの <code>[Sound_PR]</code> はノッチごとに1行ずつあり、P3 から切ったときは3行目の音です。
行が足りない車両では1行目の音になります。</li>
<li>このフォルダの車両は、どのノッチから切っても同じ「切」の音です。ノッチごとに違う音にしたいときは、
<code>[Sound_PR]</code> の各行に別の音の番号を書きます。</li>
</ul>
<h3>ATS の音</h3>
<p>音の番号は車両ファイルのキーで決まります。このフォルダの車両では、ベル・警報・チャイムはそれぞれ別の音です。</p>
<table>
<tr><th>音 (車両ファイルのキー)</th><th>鳴るとき</th><th>止まるとき</th></tr>
<tr><td>警報 <code>[Sound_Ats2]</code></td><td>ATS の警報が出たとき (ATS-S形: 停止信号の手前の地上子、ATS_Alert 1 の速度照査、速度照査区間での速度超過)。鳴り続けます</td>
<td>確認扱い (スペース) をしたとき、または ATS 復帰 (<kbd>r</kbd>) をしたとき</td></tr>
<tr><td>ベル <code>[Sound_Ats1]</code></td><td>ATS が非常ブレーキをかけたとき (停止信号の直前の地上子、警報を <code>[ATS_Time]</code> 秒放置したとき)。鳴り続けます。
ATS-P形のパターンでブレーキがかかったときは1回鳴ります</td><td>ATS 復帰 (<kbd>r</kbd>) をしたとき</td></tr>
<tr><td>チャイム <code>[Sound_Ats3]</code></td><td>警報の確認扱いをしたとき1回。<code>[ATS_Cnt]</code> が 1 の車両では、確認扱いをした信号を過ぎるまで鳴り続けます</td>
<td>次の信号の区間に入ったとき、または ATS 復帰</td></tr>
<tr><td>パターン接近 <code>[ATS_Warn]</code></td><td>ATS-P形で速度がパターンに近づいたとき (「P接近」灯が点く) に1回</td><td>-</td></tr>
<tr><td>ATC ベル <code>[Sound_Atc]</code></td><td>車内信号式 (ATS_Type 2) で信号が変わったとき、後退防護 (逆転ハンドルと逆に 7km/h を超えて動いたとき) が非常ブレーキをかけたとき</td><td>-</td></tr>
<tr><td>EB ベル <code>[Sound_EBring]</code></td><td>走行中に60秒間ハンドルを操作しなかったとき。さらに5秒で非常ブレーキ</td><td>キーを押したとき</td></tr>
<tr><td>停車駅接近 <code>[Stop]</code></td><td>走行中、停止位置までの残り距離が「そこから 2.5km/h/s で止まれる距離 + 125m」を切ったとき (止まるまで繰り返し)</td><td>停車したとき</td></tr>
</table>
<ul>
<li>ATS-S形 (<code>[ATS_Type]</code> 0): 停止信号の手前の地上子で警報が鳴ります。ブレーキをかけてからスペースを押すと警報が止まり、
チャイムが鳴ります。確認扱いはその信号まで有効で、次の信号でまた警報が出ます。信号の直前の地上子を停止信号のまま通ると非常ブレーキです。</li>
<li>ATS-P形 (<code>[ATS_Type]</code> 1): 停止信号・停車駅・速度制限の手前で速度パターンが出ます。パターンに近づくと「P接近」灯とパターン接近の音、
超えると「Pブレーキ」灯が点いて常用最大ブレーキがかかります。速度制限のパターンは制限速度まで落ちると緩みます。
停止信号と停車駅のパターンでかかったブレーキは、止まってからブレーキを非常にして <kbd>r</kbd> で復帰します。</li>
<li>快速の路線では先行の普通列車がいるので、信号が停止や警戒・注意になることがあります。停止信号の手前で止まり、信号が変わるのを待ってください。</li>
</ul>

<h2>7. 車両</h2>
<table>
<tr><th>車両</th><th>ファイル</th><th>起動加速度</th><th>最高速度</th><th>常用最大</th><th>非常</th><th>ハンドル</th></tr>
<tr><td>313系 8両 / 10両</td><td>train_313-1000_8cars.dat / train_313-1000_10cars.dat</td><td>2.6km/h/s</td><td>120km/h</td><td>4.3km/h/s</td><td>約5.1km/h/s</td><td>ワンハンドル P1〜P4・B1〜B7・非常</td></tr>
<tr><td>383系 6両</td><td>train_383.dat</td><td>2.1km/h/s</td><td>130km/h</td><td>3.8km/h/s</td><td>約5.1km/h/s</td><td>ツーハンドル P1〜P5・B1〜B7・非常、定速あり</td></tr>
<tr><td>キハ25形 2両 (気動車)</td><td>train_kiha25.dat</td><td>約1.8km/h/s</td><td>95km/h</td><td>-</td><td>-</td><td>ツーハンドル、自動空気ブレーキ、手動変速</td></tr>
</table>
<p>気動車は運転前に <kbd>F2</kbd> を5秒押してエンジンをかけ、<kbd>x</kbd> で「変速」に入れてから力行します。
40km/h を超えたら <kbd>w</kbd> で「直結」に切り替えます。直結のまま止まるとエンストします。
ブレーキ弁は <kbd>.</kbd> で 重なり→保ち→常用、<kbd>,</kbd> で戻します。</p>

<h2>8. コントローラ</h2>
<p>シリアルマスコンは「コントローラ」メニューの「QXマスコン（接続）」でつなぎます。コマンド表は mascon.dat です。
電車でGO! コントローラと OHC-PC01 もメニューで選べます。</p>
</body>
</html>
)html";
}

}  // namespace kestrel::demo

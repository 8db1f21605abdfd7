// The explanations shown by the comments window, in English and Japanese. Each paragraph is
// kept in the pieces it was written in; the pieces are joined with nothing between them.
#include <initializer_list>
#include <vector>

#include "help/comment_window.h"

namespace vk {

namespace {

using Paragraphs = std::vector<std::vector<const char*>>;

const Paragraphs kTopic1English = {
    {"  A few comments are in order on this table."},
    {"   In this work, each of 717,102 deals gives two pieces of data ", "(from N-S and W-E). ",
     " Both sides will bid on denominations with highest ", "score among NT and the four suits. "},
    {"   From those data, hands are counted according to the tricks available ", "and the Pts. "},
    {"   For example, the top row shows the number of hands ",
     " which will take just 11 tricks (never more nor less) on a suit."},
    {"   Thus, it will be of interest to Bridge players to see ", "where maximum takes place in each row."},
    {"   The scanning requires considerable amount of time because of the ",
     "huge number of deals.  If you hide this window, the software ",
     "will be free from the task of showing intermediate results."},
};

const Paragraphs kTopic1Japanese = {
    {"　 この集計表について説明します。"},
    {"   集計は，717,102 個の各ディールで，N-S ペアと E-W ペア の２つのハンドに",
     "ついて行われます。どちらの側についても，スコアが最大のコントラクト種別", "を採用します。"},
    {"   これらの 2 通りから得られる『トリック数，点数，NT またはスート』 の",
     "組み合わせ毎にハンドの個数をひとつずつカウントして，累積集計します。"},
    {"   たとえば，この表のトップの行では，スートのコントラクトで",
     " 11 トリック (11 未満も 11 超過もどちらも含まず) を取るハンドの個数を", "数えています。"},
    {"   したがって，この表では，各行について どこでハンド個数が",
     "最大になるかが見どころです (ただし，グラフ [補足] から分かるように，",
     " HCP が 25 を越えるあたりから，ハンドの出現確率そのものが急激に下がることも", "要注意です)。"},
    {"   なお，ディールの個数が大きいので，",
     "作業には かなりの時間を要します。この集計表の画面を隠せば，ソフトウェアが",
     "中間結果を表示する手間から解放されるので，いくらか速くなるかもしれません。"},
};

const Paragraphs kTopic2English = {
    {"   A few comments are in order on the graph."},
    {"The success probability starts with 0% at 0 pts ", " and ends with 100% at 40pts."},
    {"   The probability is defined as the fraction of ",
     "deals taking, say, 9 or more (in the first curve) tricks with ",
     " the specified points among all the deals with the same pts. "},
    {"    You will be interested in where each curve ", "reachs the 50% line (and how steeply)."},
    {"    The options you have selected will appear encoded like (DL), ",
     " when you have switched ON both dummy and length points."},
};

const Paragraphs kTopic2Japanese = {
    {"   このグラフについて説明します。"},
    {"　成功確率の曲線は どれも，0 点での 0% から始まり，", "40 点で 100% に達します。"},
    {"　 この確率は，たとえば 最初のグラフの場合，スートコントラクトで，指定された点数を",
     "持つ全ハンドのうち, 9 トリック以上を取るハンドの個数の",
     "割合として求められます (ただし，ダミー点など考慮した場合には，", "グラフ [補足] の出現確率で補正を加えます)。"},
    {"　 ここで注目すべきは，各曲線がどこで 確率 50% に達するか，",
     "また そのとき 曲線の傾きが どの程度急峻であるか ―― ", "ということです。"},
    {"   ここでの「点数」とは，全てのオプションを OFF",
     " にした場合には，HCP そのものですが，そこへ たとえばダミー点を ON に", "にすると，"},
    {"     点数 ＝ HCP + ダミー点"},
    {"となります。"},
    {"   なお，オプションの異なるグラフ画面には，異なるキャプションが",
     "与えられており，ソフトウェアが識別可能なので，", "前のグラフ画面を閉じずに，並べて見ることができます。"},
    {"   ダミー点などの選択は (D) のようにコード化して表示されます。"},
};

const Paragraphs kTopic3English = {
    {"   The graphs in this figure show frequencies of hands ", "with various HCPs in combined two hands. "},
    {"   When we pick up 26 out of 52 cards, the combinations ",
     "amount to C(52,26) = 495,918,532,048,104 (500 trillions). ",
     "The black circles stand for the theoretical frequencies ", "as expected from the 500 trillion deals."},
    {"   We are here using 717,102 deals (about a half million)", " provided by Halvard, ",
     "which is a billion times less than a half quadrillion. ",
     "The bar graph shows the actual result obtained from the ", "717 thousand deals."},
    {"   Please note that the graphs never depend on options ",
     "like Dummy points.  The abscissa simply means the HCPs ", " in combined two hands."},
    {"   The curves should be symmetric arount HCP = 20. ", "However, if  you observe carefully, you will find ",
     " that the symmetry is a bit broken in the bar graph."},
    {"   Nevertheless, the result obtained from random 717 thousand deals ",
     "so nicely agrees with theory that it is considered to ", "substantiate statistical analysis based on Halvard's ",
     "double-dummy library."},
    {"  [NB] This theoretical curve is used in correctly ", "evaluating success probabilities, when the Points ",
     "deviate from HCP owing to Dummy points etc."},
};

const Paragraphs kTopic3Japanese = {
    {"   このグラフは，トリック数を問題にせずに，", "ハンドの頻度を HCP だけにより分類･表示します。"},
    {"   52 枚のカードから 26 枚を取り出す組み合わせは，"},
    {"495,9185,3204,8104 (495京)通りあり，これを HCP によって", "分類したのが，黒丸の理論値です。"},
    {"   他方，ここでは それより 10 億倍少ない 71,7102 (71万) の", "ランダムなディールについて調べたので，",
     "71 万程度のサンプルで，理論値とどのくらい合うかを比較します｡"},
    {"　 この図の棒グラフが，その結果です。"},
    {"   なお，このグラフは，オプションに依存しません。横軸は",
     "純粋に HCP の値であり，ダミー点などの補正を含みません。"},
    {"   この図は，HCP=20 に関して左右対称ですが，ここでは",
     "ハンドとして W-E ペアのものだけを数えたので，注意深く見ると，",
     "棒グラフの対称性がほんの少し破れていることに気づきます。"},
    {"   ただし，全体としては非常によく合っているので，", "この ダブルダミー･ライブラリを",
     "使って行う解析は 十分意味があると考えられます。"},
    {"  [注] この理論曲線は，ダミー点などのために「点数」が",
     " HCP からずれたとき，成功確率を正しく評価するために使われる。"},
};
QString Join(const Paragraphs& paragraphs, std::initializer_list<std::size_t> blankLineAfter = {}) {
  QString text;
  for (std::size_t i = 0; i < paragraphs.size(); ++i) {
    for (const char* piece : paragraphs[i]) text += QString::fromUtf8(piece);
    if (i + 1 < paragraphs.size()) text += QStringLiteral("\r\n");
    for (std::size_t after : blankLineAfter) {
      if (after == i + 1) text += QStringLiteral("\r\n");
    }
  }
  return text;
}

}  // namespace

QString CommentText(int32_t topic, int32_t language) {
  const bool japanese = language == 1;
  switch (topic) {
    case 1:
      return Join(japanese ? kTopic1Japanese : kTopic1English);
    case 2:
      return Join(japanese ? kTopic2Japanese : kTopic2English);
    case 3:
      // The Japanese note on the theoretical curve stands apart from the paragraphs above it.
      return japanese ? Join(kTopic3Japanese, {8}) : Join(kTopic3English);
    default:
      return QString();
  }
}

}  // namespace vk

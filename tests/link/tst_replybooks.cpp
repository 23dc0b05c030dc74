// Guards the books of owed replies and the stretching time-out. If the books
// ever run ahead of the line (a reply booked against a request newer than the
// one it answers), a slow timer's late answer lands in the next field; if an
// owed request is never given up, one lost request slows every later one; if
// the time-out never comes back, a timer that was slow once stays slow.
#include "replyledger.h"
#include "replytimeout.h"
#include "testsuite.h"

#include <QTest>

using namespace vx;

class TstReplyBooks : public QObject
{
    Q_OBJECT
private slots:
    void booking_data();
    void booking();
    void nextExpiryFollowsTheLastReply();
    void timeout_data();
    void timeout();
};

namespace {

// A line script: "w<request>@<ms>" writes an attempt, "r@<ms>" a reply
// arrives; the expected column lists the request each reply is booked
// against (0: against none).
struct Step
{
    char what;
    quint64 request;
    qint64 atMs;
};

using Replies = QList<QPair<int, int>>;

} // namespace

Q_DECLARE_METATYPE(Step)

void TstReplyBooks::booking_data()
{
    QTest::addColumn<QList<Step>>("steps");
    QTest::addColumn<QList<quint64>>("booked");
    using S = QList<Step>;
    using B = QList<quint64>;
    QTest::newRow("answered in time")
        << S{{'w', 1, 0}, {'r', 0, 30}, {'w', 2, 40}, {'r', 0, 70}} << B{1, 2};
    // A busy timer 800 ms per request, time-out 500: the resend's answer
    // comes after the first and is booked against the old request, not the
    // next one.
    QTest::newRow("busy timer answers the resend after the first")
        << S{{'w', 1, 0},   {'w', 1, 500},  {'r', 0, 800},
             {'w', 2, 800}, {'r', 0, 1600}, {'r', 0, 2400}}
        << B{1, 1, 2};
    // Dropped requests are given up two time-outs after they were written.
    QTest::newRow("silent timer") << S{{'w', 1, 0},    {'w', 1, 500},  {'w', 1, 1000},
                                       {'w', 1, 1500}, {'r', 0, 1530}, {'w', 2, 2600},
                                       {'r', 0, 2630}}
                                  << B{1, 2};
    // While answers keep coming, what is owed is not given up: a backlog
    // is being worked through.
    QTest::newRow("backlog kept while answers come")
        << S{{'w', 1, 0},    {'w', 1, 500},  {'w', 1, 1000}, {'r', 0, 900},
             {'r', 0, 1800}, {'w', 2, 1800}, {'r', 0, 2700}, {'r', 0, 3600}}
        << B{1, 1, 1, 2};
    QTest::newRow("a reply nobody asked for")
        << S{{'r', 0, 10}, {'w', 1, 20}, {'r', 0, 50}} << B{0, 1};
}

void TstReplyBooks::booking()
{
    QFETCH(QList<Step>, steps);
    QFETCH(QList<quint64>, booked);
    ReplyLedger books;
    QList<quint64> got;
    for (const Step &s : steps) {
        if (s.what == 'w') {
            books.written(s.request, s.atMs, 500);
        } else {
            const auto e = books.book(s.atMs);
            got << (e ? e->request : 0);
        }
    }
    QCOMPARE(got, booked);
}

void TstReplyBooks::nextExpiryFollowsTheLastReply()
{
    ReplyLedger books;
    QVERIFY(!books.nextExpiry());
    books.written(1, 0, 500);
    books.written(1, 500, 500);
    const qint64 slack = ReplyLedger::kSlackMs;
    QCOMPARE(*books.nextExpiry(), 1000 + slack);
    QVERIFY(books.book(800));
    // The second attempt may still be answered two time-outs after that reply.
    QCOMPARE(*books.nextExpiry(), 1800 + slack);
    books.expire(1799 + slack);
    QCOMPARE(int(books.size()), 1);
    books.expire(1800 + slack);
    QVERIFY(books.empty());
    // An attempt given a longer time-out is owed its answer longer.
    books.written(2, 2000, 1200);
    QCOMPARE(*books.nextExpiry(), 4400 + slack);
}

void TstReplyBooks::timeout_data()
{
    QTest::addColumn<int>("configured");
    // Pairs of (latency, time-out the attempt had), in order.
    QTest::addColumn<Replies>("replies");
    QTest::addColumn<int>("expected");
    using R = Replies;

    QTest::newRow("in time: nothing changes") << 500 << R{{30, 500}, {480, 500}} << 500;
    QTest::newRow("one late reply stretches") << 500 << R{{800, 500}} << 1000;
    QTest::newRow("margin is a quarter") << 500 << R{{520, 500}} << 650;
    QTest::newRow("margin at least 100 ms") << 200 << R{{250, 200}} << 350;
    QTest::newRow("never past 5 s") << 500 << R{{9000, 500}} << 5000;
    QTest::newRow("the longest late reply counts") << 500 << R{{800, 500}, {600, 500}} << 1000;
    R slowRun{{800, 500}};
    for (int i = 0; i < ReplyTimeout::kCalmRun; ++i)
        slowRun << QPair<int, int>{700, 1000};
    QTest::newRow("a calm run shrinks to what it needed") << 500 << slowRun << 875;
    R fastRun{{800, 500}};
    for (int i = 0; i < ReplyTimeout::kCalmRun; ++i)
        fastRun << QPair<int, int>{30, 1000};
    QTest::newRow("a fast run comes back to the configured value") << 500 << fastRun << 500;
    R shortRun{{800, 500}};
    for (int i = 0; i < ReplyTimeout::kCalmRun - 1; ++i)
        shortRun << QPair<int, int>{30, 1000};
    QTest::newRow("one short of a run keeps the stretch") << 500 << shortRun << 1000;
    QTest::newRow("after impulses the configured value is 1000") << 1000 << R{{700, 1000}} << 1000;
}

void TstReplyBooks::timeout()
{
    QFETCH(int, configured);
    QFETCH(Replies, replies);
    QFETCH(int, expected);
    ReplyTimeout t;
    t.setConfigured(configured);
    for (const auto &[latency, given] : replies)
        t.replyObserved(latency, given);
    QCOMPARE(t.current(), expected);
}

VX_TEST_CLASS(TstReplyBooks, Core)
#include "tst_replybooks.moc"

#include "platform/core/Collection.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/core/Bits.h"

namespace {

class TNamedItem : public TCollectionItem {
public:
    using TCollectionItem::TCollectionItem;
    AnsiString Text;
    void Assign(TPersistent* Source) override { Text = static_cast<TNamedItem*>(Source)->Text; }
    void SetText(const AnsiString& v)
    {
        Text = v;
        Changed(false);
    }
};

class TLoggedCollection : public TCollection {
public:
    TLoggedCollection() : TCollection(ItemClassOf<TNamedItem>()) {}
    TNamedItem* At(int i) const { return static_cast<TNamedItem*>(Items(i)); }
    TNamedItem* New(const char* text)
    {
        auto* item = static_cast<TNamedItem*>(Add());
        item->Text = text;
        return item;
    }
    std::string Texts() const
    {
        std::string s;
        for (int i = 0; i < Count(); ++i)
            s += At(i)->Text;
        return s;
    }
    int Updates = 0;

protected:
    void Update(TCollectionItem*) override { ++Updates; }
};

}  // namespace

TEST(Collection, ItemsKeepTheirIdWhileIndexesMove)
{
    TLoggedCollection c;
    c.New("a");
    TNamedItem* b = c.New("b");
    c.New("c");
    b->SetIndex(0);
    EXPECT_EQ(c.Texts(), "bac");
    EXPECT_EQ(c.FindItemID(1), b);
    c.Insert(1)->Assign(b);
    EXPECT_EQ(c.Texts(), "bbac");
    EXPECT_EQ(c.Items(1)->ID(), 3);
    delete b;  // an item freed on its own leaves its collection
    EXPECT_EQ(c.Texts(), "bac");
    EXPECT_THROW(c.Items(3), EListError);
}

TEST(Collection, ChangesInsideAnUpdateAreReportedOnceAtTheEnd)
{
    TLoggedCollection c;
    c.New("a");
    c.Updates = 0;
    c.BeginUpdate();
    c.New("b");
    c.At(0)->SetText("x");
    c.Delete(1);
    EXPECT_EQ(c.Updates, 0);
    c.EndUpdate();
    EXPECT_EQ(c.Updates, 1);
}

TEST(Collection, AssignCopiesEveryItem)
{
    TLoggedCollection from, to;
    from.New("\xB0\xA1");
    from.New("z");
    to.New("old");
    to.Assign(&from);
    EXPECT_EQ(to.Texts(), "\xB0\xA1z");
}

TEST(Bits, GrowsOnWriteAndFindsTheFirstClearBit)
{
    TBits bits;
    bits.SetBits(2, true);
    EXPECT_EQ(bits.Size(), 3);
    EXPECT_EQ(bits.OpenBit(), 0);
    bits.SetBits(0, true);
    bits.SetBits(1, true);
    EXPECT_EQ(bits.OpenBit(), 3);
    EXPECT_THROW(bits.Bits(3), EBitsError);
    EXPECT_THROW(bits.SetBits(-1, true), EBitsError);
    EXPECT_THROW(bits.SetBits(TBits::kMaxSize, true), EBitsError);  // no unbounded growth
}

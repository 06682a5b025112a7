#include "core/hash_collection.h"

#include <gtest/gtest.h>

namespace tova {
namespace {

struct TNamed : THashCollectionItem {
    explicit TNamed(std::string name, int tag_ = 0) : tag(tag_) { SetName(std::move(name)); }
    int tag;
};

TEST(NameHash, FoldsCaseAndUsesLengthFirstAndSecondToLastByte) {
    EXPECT_EQ(NameHash("abc"), 243);
    EXPECT_EQ(NameHash("ABC"), 243);
    EXPECT_EQ(NameHash("x"), 16);
    EXPECT_EQ(NameHash(""), 0);
    EXPECT_EQ(NameHash("ab"), (32 + 'a' + 'a') % 256);
}

TEST(HashCollection, LookupIgnoresCaseAndFindsTheNewestOfDuplicates) {
    THashCollectionOf<TNamed> c;
    c.Add(std::make_unique<TNamed>("Alpha", 1));
    c.Add(std::make_unique<TNamed>("beta", 2));
    c.Add(std::make_unique<TNamed>("ALPHA", 3));
    EXPECT_EQ(c.IndexOf("alpha"), 2);
    EXPECT_EQ(c.Find("alpha")->tag, 3);
    EXPECT_EQ(c.Find("alpha")->NextSameName(), c.Item(0));
    EXPECT_EQ(c.IndexOf("gamma"), -1);
    EXPECT_EQ(c.Item(1)->Bucket(), NameHash("beta"));
}

TEST(HashCollection, DeletingKeepsIndicesEqualToPositions) {
    THashCollectionOf<TNamed> c;
    for (const char* name : {"a", "b", "c", "d"}) c.Add(std::make_unique<TNamed>(name));
    c.Delete(1);
    ASSERT_EQ(c.Count(), 3);
    for (int i = 0; i < c.Count(); ++i) EXPECT_EQ(c.Item(i)->Index(), i);
    EXPECT_EQ(c.IndexOf("b"), -1);
    EXPECT_EQ(c.IndexOf("d"), 2);
}

TEST(HashCollection, RenamingRelinksAtTheHeadOfTheNewChain) {
    THashCollectionOf<TNamed> c;
    c.Add(std::make_unique<TNamed>("x", 1));
    TNamed* second = c.Add(std::make_unique<TNamed>("y", 2));
    c.Add(std::make_unique<TNamed>("x", 3));
    second->SetName("X");
    EXPECT_EQ(c.Find("x")->tag, 2);
    EXPECT_EQ(c.IndexOf("y"), -1);
    second->SetName("");
    EXPECT_EQ(second->Bucket(), 0);
    EXPECT_EQ(c.Find("x")->tag, 3);
    c.Clear();
    EXPECT_EQ(c.IndexOf("x"), -1);
}

}  // namespace
}  // namespace tova

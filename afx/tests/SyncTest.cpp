// Synchronisation objects and the lock classes. Another thread's view of a lock is taken with
// a zero timeout, so no check depends on timing.
#include <afxmt.h>
#include <gtest/gtest.h>

#include <thread>

namespace {

// Whether another thread could enter the critical section right now.
bool OtherThreadCanEnter(CCriticalSection& cs)
{
    bool bEntered = false;
    std::thread([&] {
        if (TryEnterCriticalSection((CRITICAL_SECTION*)cs)) {
            bEntered = true;
            LeaveCriticalSection((CRITICAL_SECTION*)cs);
        }
    }).join();
    return bEntered;
}

// Whether another thread could acquire the object right now.
bool OtherThreadCanLock(CSyncObject& object)
{
    bool bLocked = false;
    std::thread([&] {
        CSingleLock lock(&object);
        bLocked = lock.Lock(0) != FALSE;
    }).join();
    return bLocked;
}

} // namespace

TEST(SingleLock, HoldsTheCriticalSectionForItsScope)
{
    CCriticalSection cs;
    {
        CSingleLock lock(&cs, TRUE);
        EXPECT_TRUE(lock.IsLocked());
        EXPECT_FALSE(OtherThreadCanEnter(cs));
        {
            CSingleLock nested(&cs, TRUE); // re-entrant on the owning thread
            EXPECT_TRUE(nested.IsLocked());
        }
        EXPECT_FALSE(OtherThreadCanEnter(cs));
        EXPECT_TRUE(lock.Unlock());
        EXPECT_FALSE(lock.IsLocked());
        EXPECT_TRUE(OtherThreadCanEnter(cs));
        lock.Lock();
    }
    EXPECT_TRUE(OtherThreadCanEnter(cs));
}

TEST(SingleLock, ReleasesWhenAnExceptionLeavesTheScope)
{
    CCriticalSection cs;
    try {
        CSingleLock lock(&cs, TRUE);
        AfxThrowNotSupportedException();
    } catch (CException* e) {
        e->Delete();
    }
    EXPECT_TRUE(OtherThreadCanEnter(cs));
}

TEST(SingleLock, SecondLockDoesNotAcquireAgain)
{
    CCriticalSection cs;
    {
        CSingleLock lock(&cs);
        EXPECT_TRUE(lock.Lock());
        EXPECT_TRUE(lock.Lock());
        lock.Unlock();
        EXPECT_TRUE(OtherThreadCanEnter(cs));
    }
}

TEST(SyncObjects, MutexEventAndSemaphore)
{
    CMutex mutex;
    {
        CSingleLock lock(&mutex, TRUE);
        EXPECT_FALSE(OtherThreadCanLock(mutex));
    }
    EXPECT_TRUE(OtherThreadCanLock(mutex));

    CEvent manual(FALSE, TRUE);
    EXPECT_FALSE(manual.Lock(0));
    manual.SetEvent();
    EXPECT_TRUE(manual.Lock(0));
    EXPECT_TRUE(manual.Lock(0));
    manual.ResetEvent();
    EXPECT_FALSE(manual.Lock(0));

    CEvent automatic(TRUE);
    EXPECT_TRUE(automatic.Lock(0));
    EXPECT_FALSE(automatic.Lock(0));

    CSemaphore semaphore(2, 2);
    CSingleLock first(&semaphore), second(&semaphore), third(&semaphore);
    EXPECT_TRUE(first.Lock(0));
    EXPECT_TRUE(second.Lock(0));
    EXPECT_FALSE(third.Lock(0));
    LONG lPrevious = -1;
    EXPECT_TRUE(first.Unlock(1, &lPrevious));
    EXPECT_EQ(0, lPrevious);
    EXPECT_TRUE(third.Lock(0));
}

TEST(SyncObjects, AbandonedMutexIsAcquired)
{
    CMutex mutex;
    std::thread([&] { EXPECT_TRUE(mutex.Lock(0)); }).join(); // ends without releasing
    CSingleLock lock(&mutex);
    EXPECT_TRUE(lock.Lock(0));
    EXPECT_TRUE(lock.Unlock());
    EXPECT_TRUE(OtherThreadCanLock(mutex));
}

TEST(MultiLock, WaitsForAnyOrAll)
{
    CEvent first(FALSE, TRUE), second(FALSE, TRUE);
    CSyncObject* objects[] = {&first, &second};
    CMultiLock lock(objects, 2);
    EXPECT_EQ((DWORD)WAIT_TIMEOUT, lock.Lock(0, FALSE));
    second.SetEvent();
    EXPECT_EQ(WAIT_OBJECT_0 + 1, lock.Lock(0, FALSE));
    EXPECT_FALSE(lock.IsLocked(0));
    EXPECT_TRUE(lock.IsLocked(1));
    EXPECT_EQ((DWORD)WAIT_TIMEOUT, lock.Lock(0, TRUE));
    first.SetEvent();
    EXPECT_EQ(WAIT_OBJECT_0, lock.Lock(0, TRUE));
    EXPECT_TRUE(lock.IsLocked(0));

    CCriticalSection cs;
    CSyncObject* withSection[] = {&first, &cs};
    bool bRefused = false;
    try {
        CMultiLock invalid(withSection, 2);
    } catch (CInvalidArgException* e) {
        bRefused = true;
        e->Delete();
    }
    EXPECT_TRUE(bRefused);
}

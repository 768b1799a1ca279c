#pragma once

// Every test program fails the running test when an ensure fails in it. A test that provokes one on purpose holds
// an FExpectedEnsures while it does, and checks how many fired.
class FExpectedEnsures
{
public:
	FExpectedEnsures();
	~FExpectedEnsures();
	FExpectedEnsures(const FExpectedEnsures&) = delete;
	FExpectedEnsures& operator=(const FExpectedEnsures&) = delete;

	int Num() const { return Count; }

private:
	friend struct FEnsureCounter;
	FExpectedEnsures* Outer = nullptr;
	int Count = 0;
};

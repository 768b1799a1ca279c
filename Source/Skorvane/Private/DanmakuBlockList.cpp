#include "DanmakuBlockList.h"

namespace DanmakuBlockList
{
// Distinct for every state and character. The two are mixed (the multiplication by an odd number and the
// folding shift can both be undone, so no two transitions share a key) because integer keys hash by folding their
// halves, and the states of one word are consecutive numbers that would otherwise crowd into one run of slots.
static uint64 TransitionKey(int32 State, TCHAR Character)
{
	uint64 Key = ((uint64(uint16(Character)) << 32) | uint64(uint32(State))) * 0x9E3779B97F4A7C15ull;
	return Key ^ (Key >> 32);
}

// Joined into one alternation, a pattern keeps its meaning only if nothing in it reaches past its own group:
// no quoting that runs to the end, no comment that eats the closing parenthesis, no back-reference whose group
// number would shift.
static bool CanShareAlternation(const FString& Pattern)
{
	if (Pattern.Contains(TEXT("#")) || Pattern.Contains(TEXT("\\Q"), ESearchCase::CaseSensitive) ||
	    Pattern.Contains(TEXT("\\k"), ESearchCase::CaseSensitive))
	{
		return false;
	}
	for (int32 Index = 0; Index + 1 < Pattern.Len(); ++Index)
	{
		if (Pattern[Index] == TEXT('\\'))
		{
			if (Pattern[Index + 1] >= TEXT('1') && Pattern[Index + 1] <= TEXT('9'))
			{
				return false;
			}
			++Index;
		}
	}
	return true;
}
} // namespace DanmakuBlockList

FString FDanmakuBlockList::FoldCase(const FString& Text)
{
	return FText::FromString(Text).ToLower().ToString();
}

bool FDanmakuBlockList::IsValidPattern(const FString& Pattern)
{
	FRegexMatcher Probe(FRegexPattern(TEXT("|") + Pattern), FString());
	return Probe.FindNext();
}

bool FDanmakuBlockList::AddWord(const FString& Word)
{
	const FString Lower = FoldCase(Word);
	if (Lower.IsEmpty() || Words.ContainsByPredicate([&Lower](const FString& Listed)
	                                                 { return Listed.Equals(Lower, ESearchCase::CaseSensitive); }))
	{
		return false;
	}
	Words.Add(Lower);
	bWordsDirty = true;
	return true;
}

bool FDanmakuBlockList::AddPattern(const FString& Pattern, FString& OutError)
{
	if (Pattern.IsEmpty())
	{
		OutError = TEXT("an empty pattern would block every comment");
		return false;
	}
	if (Patterns.ContainsByPredicate([&Pattern](const FString& Listed)
	                                 { return Listed.Equals(Pattern, ESearchCase::CaseSensitive); }))
	{
		OutError = FString::Printf(TEXT("the pattern '%s' is already listed"), *Pattern);
		return false;
	}
	if (!IsValidPattern(Pattern))
	{
		OutError = FString::Printf(TEXT("'%s' is not a valid regular expression"), *Pattern);
		return false;
	}
	FRegexMatcher EmptyText(FRegexPattern(Pattern), FString(TEXT("")));
	if (EmptyText.FindNext())
	{
		OutError = FString::Printf(TEXT("'%s' matches the empty text, so it would block every comment"), *Pattern);
		return false;
	}
	Patterns.Add(Pattern);
	bPatternsDirty = true;
	return true;
}

bool FDanmakuBlockList::RemoveWord(const FString& Word)
{
	const FString Lower = FoldCase(Word);
	const int32 Removed =
	    Words.RemoveAll([&Lower](const FString& Listed) { return Listed.Equals(Lower, ESearchCase::CaseSensitive); });
	bWordsDirty |= Removed > 0;
	return Removed > 0;
}

bool FDanmakuBlockList::RemovePattern(const FString& Pattern)
{
	const int32 Removed = Patterns.RemoveAll([&Pattern](const FString& Listed)
	                                         { return Listed.Equals(Pattern, ESearchCase::CaseSensitive); });
	bPatternsDirty |= Removed > 0;
	return Removed > 0;
}

void FDanmakuBlockList::Empty()
{
	Words.Empty();
	Patterns.Empty();
	bWordsDirty = true;
	bPatternsDirty = true;
}

bool FDanmakuBlockList::IsBlocked(const FString& Content) const
{
	if (IsEmpty())
	{
		return false;
	}
	if (!Words.IsEmpty() && ContainsWord(FoldCase(Content)))
	{
		return true;
	}
	if (bPatternsDirty)
	{
		BuildPatternMatchers();
	}
	for (const TSharedRef<FRegexPattern>& Pattern : PatternMatchers)
	{
		FRegexMatcher Matcher(*Pattern, Content);
		if (Matcher.FindNext())
		{
			return true;
		}
	}
	return false;
}

int32 FDanmakuBlockList::FindTransition(int32 State, TCHAR Character) const
{
	const int32* Next = WordTransitions.Find(DanmakuBlockList::TransitionKey(State, Character));
	return Next ? *Next : INDEX_NONE;
}

bool FDanmakuBlockList::ContainsWord(const FString& LowerContent) const
{
	if (bWordsDirty)
	{
		BuildWordAutomaton();
	}
	int32 State = 0;
	for (const TCHAR Character : LowerContent)
	{
		int32 Next = FindTransition(State, Character);
		while (Next == INDEX_NONE && State != 0)
		{
			State = WordStates[State].Fallback;
			Next = FindTransition(State, Character);
		}
		State = Next == INDEX_NONE ? 0 : Next;
		if (WordStates[State].bEndsWord)
		{
			return true;
		}
	}
	return false;
}

void FDanmakuBlockList::BuildWordAutomaton() const
{
	WordStates.Reset();
	WordTransitions.Empty();
	WordStates.AddDefaulted();
	// Children of each state, in the order they were made, for the breadth-first pass below.
	TArray<TArray<TPair<TCHAR, int32>>> Children;
	Children.AddDefaulted();
	for (const FString& Word : Words)
	{
		int32 State = 0;
		for (const TCHAR Character : Word)
		{
			int32 Next = FindTransition(State, Character);
			if (Next == INDEX_NONE)
			{
				Next = WordStates.Num();
				WordStates.AddDefaulted();
				Children.AddDefaulted();
				WordTransitions.Add(DanmakuBlockList::TransitionKey(State, Character), Next);
				Children[State].Add(TPair<TCHAR, int32>(Character, Next));
			}
			State = Next;
		}
		WordStates[State].bEndsWord = true;
	}

	// Fallbacks in breadth-first order, so that a state's fallback is always settled before the state itself.
	TArray<int32> Queue;
	for (const TPair<TCHAR, int32>& Child : Children[0])
	{
		Queue.Add(Child.Value);
	}
	for (int32 Head = 0; Head < Queue.Num(); ++Head)
	{
		const int32 State = Queue[Head];
		for (const TPair<TCHAR, int32>& Child : Children[State])
		{
			int32 Fallback = WordStates[State].Fallback;
			int32 Next = FindTransition(Fallback, Child.Key);
			while (Next == INDEX_NONE && Fallback != 0)
			{
				Fallback = WordStates[Fallback].Fallback;
				Next = FindTransition(Fallback, Child.Key);
			}
			WordStates[Child.Value].Fallback = Next == INDEX_NONE ? 0 : Next;
			WordStates[Child.Value].bEndsWord |= WordStates[WordStates[Child.Value].Fallback].bEndsWord;
			Queue.Add(Child.Value);
		}
	}
	bWordsDirty = false;
}

void FDanmakuBlockList::BuildPatternMatchers() const
{
	PatternMatchers.Reset();
	FString Joined;
	TArray<FString> Alone;
	for (const FString& Pattern : Patterns)
	{
		if (DanmakuBlockList::CanShareAlternation(Pattern))
		{
			Joined += (Joined.IsEmpty() ? TEXT("(?:") : TEXT("|(?:")) + Pattern + TEXT(")");
		}
		else
		{
			Alone.Add(Pattern);
		}
	}
	if (!Joined.IsEmpty())
	{
		if (IsValidPattern(Joined))
		{
			PatternMatchers.Add(MakeShared<FRegexPattern>(Joined, ERegexPatternFlags::CaseInsensitive));
		}
		else
		{
			// Patterns that only clash when joined (the same group name twice, say) are searched one by one.
			Alone.Reset();
			Alone.Append(Patterns);
		}
	}
	for (const FString& Pattern : Alone)
	{
		PatternMatchers.Add(MakeShared<FRegexPattern>(Pattern, ERegexPatternFlags::CaseInsensitive));
	}
	bPatternsDirty = false;
}

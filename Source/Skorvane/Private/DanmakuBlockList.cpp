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

// What the risk check knows of one group while it reads the pattern.
struct FGroupScan
{
	// A quantifier, or alternatives that can start alike, anywhere inside (nested groups included).
	bool bHasQuantifier = false;
	bool bHasOverlap = false;
	// The first character of each alternative read so far, case folded; empty for one that may start with anything.
	TArray<FString> FirstCharacters;
	bool bAlternativeStarted = false;
	FString CurrentFirst;
};

// Reads a quantifier at Index, if there is one: its length, and whether it allows more than one repetition.
static int32 ReadQuantifier(const FString& Pattern, int32 Index, bool& bOutRepeats)
{
	bOutRepeats = false;
	if (Index >= Pattern.Len())
	{
		return 0;
	}
	int32 Length = 0;
	const TCHAR C = Pattern[Index];
	if (C == TEXT('*') || C == TEXT('+'))
	{
		bOutRepeats = true;
		Length = 1;
	}
	else if (C == TEXT('?'))
	{
		Length = 1;
	}
	else if (C == TEXT('{'))
	{
		int32 Close = Index + 1;
		while (Close < Pattern.Len() && Pattern[Close] != TEXT('}'))
		{
			++Close;
		}
		if (Close >= Pattern.Len())
		{
			return 0;
		}
		const FString Body = Pattern.Mid(Index + 1, Close - Index - 1);
		FString Low;
		FString High;
		if (!Body.Split(TEXT(","), &Low, &High))
		{
			Low = Body;
			High = Body;
		}
		for (TCHAR Digit : Body)
		{
			if (Digit != TEXT(',') && (Digit < TEXT('0') || Digit > TEXT('9')))
			{
				return 0;
			}
		}
		// {n,} repeats without bound; {n,m} and {n} repeat when they allow more than one.
		bOutRepeats = High.IsEmpty() || High.Len() > 1 || High[0] > TEXT('1');
		Length = Close - Index + 1;
	}
	// Lazy and possessive forms.
	if (Length > 0 && Index + Length < Pattern.Len() &&
	    (Pattern[Index + Length] == TEXT('?') || Pattern[Index + Length] == TEXT('+')))
	{
		++Length;
	}
	return Length;
}

// Whether the alternatives of a group can begin with the same character, so that a repetition of the group can
// split one text in many ways.
static bool AlternativesOverlap(const TArray<FString>& FirstCharacters)
{
	if (FirstCharacters.Num() < 2)
	{
		return false;
	}
	for (int32 Index = 0; Index < FirstCharacters.Num(); ++Index)
	{
		if (FirstCharacters[Index].IsEmpty())
		{
			return true;
		}
		for (int32 Other = Index + 1; Other < FirstCharacters.Num(); ++Other)
		{
			if (FirstCharacters[Index].Equals(FirstCharacters[Other], ESearchCase::CaseSensitive))
			{
				return true;
			}
		}
	}
	return false;
}

// The engine's regular expressions backtrack without a time limit, so a repeated group that can match one text in
// exponentially many ways ("^(a+)+$" against forty a's and a b) stalls the game thread. Refused: a group repeated
// by *, +, {n,} or {n,m} with m above 1 that holds a quantifier of any kind, or alternatives that can start with
// the same character (an alternative starting with a class, an escape, '.', a group or nothing may start with
// anything). The check reads a pattern that compiled; it errs towards refusing.
static bool FindBacktrackingRisk(const FString& Pattern, FString& OutReason)
{
	TArray<FGroupScan> Stack;
	Stack.AddDefaulted();
	const auto NoteAtom = [&Stack](const FString& First)
	{
		FGroupScan& Group = Stack.Last();
		if (!Group.bAlternativeStarted)
		{
			Group.bAlternativeStarted = true;
			Group.CurrentFirst = First;
		}
	};
	const auto CloseAlternative = [](FGroupScan& Group)
	{
		Group.FirstCharacters.Add(Group.bAlternativeStarted ? Group.CurrentFirst : FString());
		Group.bAlternativeStarted = false;
		Group.CurrentFirst.Empty();
	};
	int32 Index = 0;
	while (Index < Pattern.Len())
	{
		const TCHAR C = Pattern[Index];
		// Set after reading an atom: the group it closed, when it was one.
		bool bAtom = true;
		bool bClosedRisky = false;
		FString ClosedReason;
		if (C == TEXT('\\'))
		{
			if (Index + 1 < Pattern.Len() && Pattern[Index + 1] == TEXT('Q'))
			{
				const int32 End = Pattern.Find(TEXT("\\E"), ESearchCase::CaseSensitive, ESearchDir::FromStart, Index);
				const int32 Stop = End == INDEX_NONE ? Pattern.Len() : End + 2;
				NoteAtom(Index + 2 < Pattern.Len() && Index + 2 != End
				             ? FDanmakuBlockList::FoldCase(Pattern.Mid(Index + 2, 1))
				             : FString());
				Index = Stop;
			}
			else
			{
				// An escaped punctuation character is itself; a letter or digit is a class or another construct.
				const TCHAR Next = Index + 1 < Pattern.Len() ? Pattern[Index + 1] : TEXT('\\');
				const bool bWordLike = (Next >= TEXT('a') && Next <= TEXT('z')) ||
				                       (Next >= TEXT('A') && Next <= TEXT('Z')) ||
				                       (Next >= TEXT('0') && Next <= TEXT('9'));
				NoteAtom(bWordLike ? FString() : FString::Chr(Next));
				Index += 2;
			}
		}
		else if (C == TEXT('['))
		{
			// Classes nest in ICU's syntax ([[a-z]&&[^x]]); escapes inside are skipped.
			int32 Depth = 0;
			do
			{
				if (Pattern[Index] == TEXT('\\'))
				{
					++Index;
				}
				else if (Pattern[Index] == TEXT('['))
				{
					++Depth;
				}
				else if (Pattern[Index] == TEXT(']'))
				{
					--Depth;
				}
				++Index;
			} while (Depth > 0 && Index < Pattern.Len());
			NoteAtom(FString());
		}
		else if (C == TEXT('('))
		{
			++Index;
			bAtom = false;
			bool bLookbehind = false;
			if (Index < Pattern.Len() && Pattern[Index] == TEXT('?'))
			{
				++Index;
				if (Index < Pattern.Len() && Pattern[Index] == TEXT('#'))
				{
					while (Index < Pattern.Len() && Pattern[Index] != TEXT(')'))
					{
						++Index;
					}
					++Index;
					continue;
				}
				bLookbehind = Index < Pattern.Len() && Pattern[Index] == TEXT('<') && Index + 1 < Pattern.Len() &&
				              (Pattern[Index + 1] == TEXT('=') || Pattern[Index + 1] == TEXT('!'));
				// Flags alone, "(?i)", open no group.
				int32 Scan = Index;
				while (Scan < Pattern.Len() && Pattern[Scan] != TEXT(')') && Pattern[Scan] != TEXT(':') &&
				       Pattern[Scan] != TEXT('=') && Pattern[Scan] != TEXT('!') && Pattern[Scan] != TEXT('>') &&
				       Pattern[Scan] != TEXT('<'))
				{
					++Scan;
				}
				if (Scan < Pattern.Len() && Pattern[Scan] == TEXT(')'))
				{
					Index = Scan + 1;
					continue;
				}
				if (Scan < Pattern.Len() && Pattern[Scan] == TEXT('<') && !bLookbehind)
				{
					// A named group: skip its name.
					while (Scan < Pattern.Len() && Pattern[Scan] != TEXT('>'))
					{
						++Scan;
					}
				}
				Index = FMath::Min(Scan + (bLookbehind ? 2 : 1), Pattern.Len());
			}
			NoteAtom(FString());
			Stack.AddDefaulted();
			continue;
		}
		else if (C == TEXT(')') && Stack.Num() > 1)
		{
			FGroupScan Closed = Stack.Pop();
			CloseAlternative(Closed);
			Closed.bHasOverlap |= AlternativesOverlap(Closed.FirstCharacters);
			bClosedRisky = Closed.bHasQuantifier || Closed.bHasOverlap;
			ClosedReason = Closed.bHasQuantifier ? TEXT("a repeated group holds a quantifier")
			                                     : TEXT("a repeated group has alternatives that can start alike");
			Stack.Last().bHasQuantifier |= Closed.bHasQuantifier;
			Stack.Last().bHasOverlap |= Closed.bHasOverlap;
			++Index;
		}
		else if (C == TEXT('|'))
		{
			CloseAlternative(Stack.Last());
			bAtom = false;
			++Index;
		}
		else if (C == TEXT('^') || C == TEXT('$'))
		{
			bAtom = false;
			++Index;
		}
		else
		{
			NoteAtom(C == TEXT('.') ? FString() : FDanmakuBlockList::FoldCase(FString::Chr(C)));
			++Index;
		}
		if (!bAtom)
		{
			continue;
		}
		bool bRepeats = false;
		const int32 Quantifier = ReadQuantifier(Pattern, Index, bRepeats);
		if (Quantifier > 0)
		{
			if (bRepeats && bClosedRisky)
			{
				OutReason = ClosedReason;
				return true;
			}
			Stack.Last().bHasQuantifier = true;
			Index += Quantifier;
		}
	}
	return false;
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
	FString Risk;
	if (DanmakuBlockList::FindBacktrackingRisk(Pattern, Risk))
	{
		OutError = FString::Printf(TEXT("'%s' could take the matcher ages on some comments (%s); write it without "
		                                "nested or overlapping repetition"),
		                           *Pattern, *Risk);
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
	// The search is bounded: however long a comment is, only its start is matched.
	const FString Matched = Content.Len() > MaxMatchedLength ? Content.Left(MaxMatchedLength) : Content;
	for (const TSharedRef<FRegexPattern>& Pattern : PatternMatchers)
	{
		FRegexMatcher Matcher(*Pattern, Matched);
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

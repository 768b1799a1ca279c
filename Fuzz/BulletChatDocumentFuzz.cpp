// The legacy overlay's loaders: each input is read as a whole document and as one pushed record. A refused
// document gives no records; a record that reads must read the same as the only element of a document.
#include "BulletChat/BulletChatDocumentReader.h"
#include "FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
	static const bool bReady = (SilenceLog(), true);
	(void)bReady;
	const FString Text = FuzzText(Data, Size);

	TArray<FBulletChatData> Records;
	if (!FBulletChatDocumentReader::ReadDocument(Text, Records))
	{
		check(Records.IsEmpty());
	}

	FBulletChatData Record;
	if (FBulletChatDocumentReader::ReadRecord(Text, Record))
	{
		TArray<FBulletChatData> Wrapped;
		check(FBulletChatDocumentReader::ReadDocument(TEXT("{\"datas\":[") + Text + TEXT("]}"), Wrapped));
		check(Wrapped.Num() == 1);
		check(Wrapped[0].ID == Record.ID && Wrapped[0].bHasID == Record.bHasID && Wrapped[0].Time == Record.Time &&
		      Wrapped[0].Content.Equals(Record.Content, ESearchCase::CaseSensitive));
	}
	return 0;
}

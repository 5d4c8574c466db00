<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="tr_TR">
<context>
    <name>AmortismanDialog</name>
    <message>
        <source>Declining balance is open only to businesses that keep their books on the balance-sheet basis.</source>
        <translation>Azalan bakiyeler yöntemi yalnızca bilanço esasına göre defter tutan işletmeler için geçerlidir.</translation>
    </message>
    <message>
        <source>A car that a business renting or running cars uses for that purpose: a full first year.</source>
        <translation>Otomobil kiralama veya işletme faaliyetinde bulunan işletmenin bu amaçla kullandığı araç: ilk yıl tam amortisman ayrılır.</translation>
    </message>
    <message>
        <source>Enter the year the asset was entered in the books.</source>
        <translation>Varlığın aktife girdiği yılı yazınız.</translation>
    </message>
    <message>
        <source>The schedule appears here once every entry is accepted.</source>
        <translation>Bütün alanlar doğru girildiğinde amortisman tablosu burada görünür.</translation>
    </message>
    <message>
        <source>Save the schedule</source>
        <translation>Amortisman tablosunu kaydet</translation>
    </message>
    <message>
        <source>CSV files (*.csv)</source>
        <translation>CSV dosyaları (*.csv)</translation>
    </message>
    <message>
        <source>The schedule could not be saved as &quot;%1&quot;: %2</source>
        <translation>Amortisman tablosu &quot;%1&quot; olarak kaydedilemedi: %2</translation>
    </message>
    <message>
        <source>Enter the cost, for example 1.234,56.</source>
        <translation>Maliyet bedelini yazınız, örneğin 1.234,56.</translation>
    </message>
    <message>
        <source>Write the cost in digits, with &quot;.&quot; between thousands and &quot;,&quot; before the kuruş, for example 1.234,56.</source>
        <translation>Maliyet bedelini rakamla, binlikler arasında &quot;.&quot;, kuruştan önce &quot;,&quot; kullanarak yazınız, örneğin 1.234,56.</translation>
    </message>
    <message>
        <source>The cost has at most two decimals: kuruş are the smallest unit.</source>
        <translation>Maliyet bedelinde virgülden sonra en çok iki basamak olabilir: en küçük birim kuruştur.</translation>
    </message>
    <message>
        <source>The cost must be more than zero.</source>
        <translation>Maliyet bedeli sıfırdan büyük olmalıdır.</translation>
    </message>
    <message>
        <source>The cost cannot be negative.</source>
        <translation>Maliyet bedeli eksi olamaz.</translation>
    </message>
    <message>
        <source>The cost can be at most %1 TL.</source>
        <translation>Maliyet bedeli en çok %1 TL olabilir.</translation>
    </message>
    <message>
        <source>The first year must be between %1 and %2.</source>
        <translation>İlk yıl %1 ile %2 arasında olmalıdır.</translation>
    </message>
    <message>
        <source>The month must be between 1 and 12.</source>
        <translation>Ay 1 ile 12 arasında olmalıdır.</translation>
    </message>
    <message>
        <source>Declining balance is not offered for passenger cars: the published rules do not settle its first year.</source>
        <translation>Binek otomobiller için azalan bakiyeler yöntemi sunulmuyor: yayımlanmış kurallar ilk yılı açıkça belirlemiyor.</translation>
    </message>
    <message>
        <source>The switch to the normal method must fall in years 2 to %1.</source>
        <translation>Normal yönteme geçiş 2. ile %1. yıllar arasında olmalıdır.</translation>
    </message>
    <message>
        <source>This row has no useful life, so no schedule can be made for it.</source>
        <translation>Bu satırda faydalı ömür yok; bu nedenle amortisman tablosu çıkarılamaz.</translation>
    </message>
    <message>
        <source>The row&apos;s useful life is zero, so no schedule can be made for it.</source>
        <translation>Bu satırın faydalı ömrü sıfır; bu nedenle amortisman tablosu çıkarılamaz.</translation>
    </message>
    <message>
        <source>The row&apos;s useful life is not a whole number of years, so no schedule can be made for it.</source>
        <translation>Bu satırın faydalı ömrü tam yıl değil; bu nedenle amortisman tablosu çıkarılamaz.</translation>
    </message>
    <message>
        <source>The row&apos;s useful life is over %1 years, so no schedule can be made for it.</source>
        <translation>Bu satırın faydalı ömrü %1 yıldan uzun; bu nedenle amortisman tablosu çıkarılamaz.</translation>
    </message>
    <message>
        <source>This row has no depreciation rate, so no schedule can be made for it.</source>
        <translation>Bu satırda amortisman oranı yok; bu nedenle amortisman tablosu çıkarılamaz.</translation>
    </message>
    <message>
        <source>The row&apos;s depreciation rate is zero, so no schedule can be made for it.</source>
        <translation>Bu satırın amortisman oranı sıfır; bu nedenle amortisman tablosu çıkarılamaz.</translation>
    </message>
    <message>
        <source>The row&apos;s depreciation rate is over 100 %, so no schedule can be made for it.</source>
        <translation>Bu satırın amortisman oranı %100&apos;ün üzerinde; bu nedenle amortisman tablosu çıkarılamaz.</translation>
    </message>
    <message>
        <source>This row is a heading: it has no useful life and no rate, so no schedule can be made for it. Choose a row below it.</source>
        <translation>Bu satır bir başlıktır: faydalı ömrü ve oranı yoktur, bu nedenle amortisman tablosu çıkarılamaz. Altındaki satırlardan birini seçiniz.</translation>
    </message>
</context>
<context>
    <name>HelpFileLoader</name>
    <message>
        <source>The file is larger than %1 MB, the most a help file may be.</source>
        <translation>Dosya %1 MB&apos;tan büyük; bir yardım dosyası en çok bu kadar olabilir.</translation>
    </message>
</context>
<context>
    <name>JetConnection</name>
    <message>
        <source>Unrecognized database format &apos;%1&apos;.</source>
        <translation>&apos;%1&apos; veritabanının biçimi tanınmıyor.</translation>
    </message>
    <message>
        <source>The database &apos;%1&apos; is damaged or incomplete (table &apos;%2&apos;).</source>
        <translation>&apos;%1&apos; veritabanı bozuk ya da eksik (&apos;%2&apos; tablosu).</translation>
    </message>
    <message>
        <source>Could not find file &apos;%1&apos;.</source>
        <translation>&apos;%1&apos; dosyası bulunamadı.</translation>
    </message>
    <message>
        <source>Cannot open the database file &apos;%1&apos;. %2</source>
        <translation>&apos;%1&apos; veritabanı dosyası açılamıyor. %2</translation>
    </message>
    <message>
        <source>The database &apos;%1&apos; is encrypted and cannot be read. Save it without a password or encryption.</source>
        <translation>&apos;%1&apos; veritabanı şifrelenmiş, okunamıyor. Veritabanını parolasız ve şifrelemesiz kaydedin.</translation>
    </message>
    <message>
        <source>Not a valid password.</source>
        <translation>Parola geçerli değil.</translation>
    </message>
    <message>
        <source>Provider cannot be found. It may not be properly installed.</source>
        <translation>Veritabanı sağlayıcısı bulunamadı. Düzgün kurulmamış olabilir.</translation>
    </message>
    <message>
        <source>No data source is given in the connection string.</source>
        <translation>Bağlantı bilgilerinde veri kaynağı belirtilmemiş.</translation>
    </message>
    <message>
        <source>Operation is not allowed when the object is closed.</source>
        <translation>Nesne kapalıyken bu işlem yapılamaz.</translation>
    </message>
    <message>
        <source>Cannot find the input table or query &apos;%1&apos;. Make sure it exists and that its name is spelled correctly.</source>
        <translation>&apos;%1&apos; tablosu ya da sorgusu bulunamadı. Var olduğundan ve adının doğru yazıldığından emin olun.</translation>
    </message>
</context>
<context>
    <name>RatesQuery</name>
    <message>
        <source>meslekkoduQuery: Field &apos;%1&apos; not found</source>
        <translation>meslekkoduQuery: &apos;%1&apos; alanı bulunamadı</translation>
    </message>
    <message>
        <source>Type mismatch for field &apos;%1&apos;, expecting: %2 actual: %3</source>
        <translation>&apos;%1&apos; alanının türü uyuşmuyor; beklenen: %2, bulunan: %3</translation>
    </message>
</context>
<context>
    <name>RatesStore</name>
    <message>
        <source>The table is too large to be held in memory.</source>
        <translation>Tablo belleğe sığmayacak kadar büyük.</translation>
    </message>
</context>
<context>
    <name>StartOptions</name>
    <message>
        <source>Finds the depreciation rate and useful life of a fixed asset in the VUK list.
Reads AnaData/Velkaro.mdb and the help file yardim from the current folder, or
with --kullanici-verisi from the user&apos;s own data folder.</source>
        <translation>Bir sabit kıymetin amortisman oranını ve faydalı ömrünü VUK listesinde bulur.
AnaData/Velkaro.mdb listesini ve yardim adlı yardım dosyasını çalışılan klasörden,
--kullanici-verisi verilince kullanıcının kendi veri klasöründen okur.</translation>
    </message>
    <message>
        <source>Starts with TERM in the first search box and the list searched for it, as typing it and clicking ARA would. An empty TERM shows every row.</source>
        <translation>Programı, ilk arama kutusunda TERİM ve liste buna göre aranmış olarak açar: TERİM&apos;i yazıp ARA&apos;ya tıklamak gibi. Boş TERİM bütün satırları gösterir.</translation>
    </message>
    <message>
        <source>TERM</source>
        <translation>TERİM</translation>
    </message>
    <message>
        <source>A second TERM for the second box, searched for together with the first (VE).</source>
        <translation>İkinci kutu için ikinci bir TERİM; birincisiyle birlikte aranır (VE).</translation>
    </message>
    <message>
        <source>After the search, makes the row with this list number (Tüm Kodu) current; the first row when the result has none.</source>
        <translation>Aramadan sonra bu liste numaralı (Tüm Kodu) satırı seçer; sonuçta öyle bir satır yoksa ilk satırı.</translation>
    </message>
    <message>
        <source>CODE</source>
        <translation>KOD</translation>
    </message>
    <message>
        <source>Works in %APPDATA%\Velkaro Arama when it holds AnaData\Velkaro.mdb, otherwise in the program&apos;s folder.</source>
        <translation>%APPDATA%\Velkaro Arama klasöründe AnaData\Velkaro.mdb varsa orada, yoksa programın klasöründe çalışır.</translation>
    </message>
    <message>
        <source>Works in $XDG_DATA_HOME/velkaro-arama (~/.local/share/velkaro-arama) when it holds AnaData/Velkaro.mdb, otherwise in the installed data folder.</source>
        <translation>$XDG_DATA_HOME/velkaro-arama (~/.local/share/velkaro-arama) klasöründe AnaData/Velkaro.mdb varsa orada, yoksa kurulu veri klasöründe çalışır.</translation>
    </message>
    <message>
        <source>Unexpected argument &apos;%1&apos; (a search term is given as --ara TERM).</source>
        <translation>&apos;%1&apos; beklenmiyordu (arama terimi --ara TERİM biçiminde verilir).</translation>
    </message>
    <message>
        <source>%1: %2
Try &apos;%1 --help&apos; for the options.
</source>
        <translation>%1: %2
Seçenekler için &apos;%1 --help&apos; yazın.
</translation>
    </message>
</context>
<context>
    <name>denywriters</name>
    <message>
        <source>The process cannot access the file because it is being used by another process.</source>
        <translation>Dosya başka bir işlem tarafından kullanıldığından bu işlem dosyaya erişemiyor.</translation>
    </message>
    <message>
        <source>Not a regular file</source>
        <translation>Normal bir dosya değil</translation>
    </message>
</context>
<context>
    <name>errorreporting</name>
    <message>
        <source>Out of memory</source>
        <translation>Bellek yetersiz</translation>
    </message>
    <message>
        <source>Unknown error</source>
        <translation>Bilinmeyen hata</translation>
    </message>
</context>
<context>
    <name>offlinePage</name>
    <message>
        <source>en</source>
        <comment>the language of the page&apos;s texts</comment>
        <translation>tr</translation>
    </message>
    <message>
        <source>No internet connection.</source>
        <translation>İnternet bağlantısı yok.</translation>
    </message>
    <message>
        <source>The page opens by itself once the connection is back; click to try now.</source>
        <translation>Bağlantı gelince sayfa kendiliğinden açılır; şimdi denemek için tıklayın.</translation>
    </message>
</context>
<context>
    <name>velkaro-arama-search</name>
    <message>
        <source>Answers the desktop&apos;s search (GNOME Shell, KRunner) from the VUK rate list.
D-Bus starts it when a search needs it; it never writes anything.</source>
        <translation>Masaüstünün aramasını (GNOME Shell, KRunner) VUK oran listesinden yanıtlar.
Bir arama gerektiğinde D-Bus başlatır; hiçbir şey yazmaz.</translation>
    </message>
    <message>
        <source>The rate list to search (default: the user&apos;s own list in $XDG_DATA_HOME/velkaro-arama/AnaData when there is one, otherwise the installed one).</source>
        <translation>Aranacak oran listesi (varsayılan: $XDG_DATA_HOME/velkaro-arama/AnaData içinde kullanıcının kendi listesi varsa o, yoksa kurulu liste).</translation>
    </message>
    <message>
        <source>file</source>
        <translation>dosya</translation>
    </message>
    <message>
        <source>The program a chosen result starts, in the folder above the list&apos;s folder (default: velkaro-arama beside this service).</source>
        <translation>Seçilen sonucun başlattığı program; listenin klasörünün bir üstündeki klasörde başlar (varsayılan: bu hizmetin yanındaki velkaro-arama).</translation>
    </message>
</context>
</TS>
